#pragma once

#include <QImage>
#include <QWidget>

// One image, fitted to the widget and decoded at the size it is shown, so a large photo is
// never held at full size. Zoom, rotation and panning decode it again as needed. A file that
// cannot be shown leaves a message in place of the image; a file cut short shows the part
// that could be read, with a note.
class ImageView : public QWidget
{
    Q_OBJECT
public:
    static constexpr double largestZoom = 8;  // times the fitted size
    static constexpr int largestSide = 4096;  // pixels of a decoded image, at most

    explicit ImageView(QWidget* parent);

    void setFile(const QString& path);
    void showMessage(const QString& text);

    void zoomIn();
    void zoomOut();
    void fit();
    void rotate();

    // The image as it is drawn (rotated, at its zoom) and what is said about it;
    // both decode first when something changed.
    const QImage& image();
    QString message();
    double zoom() const { return zoomFactor; }

signals:
    // A swipe over an image that fits: +1 for the next image (the finger moved left), -1 back.
    void swiped(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void changed();
    void decodeIfChanged();
    QSize shownSize(const QSize& uprightSize) const;
    bool pannable() const;
    void clampOffset();

    QString file;
    int quarterTurns = 0;
    double zoomFactor = 1;
    bool stale = false;
    QImage shown;
    QString text;
    QPoint offset;  // of the image's centre from the widget's centre
    QPoint pressedAt;
    QPoint lastAt;
};
