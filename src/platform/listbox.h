#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

class UTIL_ListBox;

// One row of a list box; the list box owns it once inserted.
class UTIL_ListBoxItem
{
public:
    UTIL_ListBoxItem(UTIL_ListBox* list, const QString& text, bool flag = false);
    virtual ~UTIL_ListBoxItem() = default;

    QString text() const { return label; }
    void setText(const QString& text) { label = text; }

private:
    QString label;
};

// A list of fixed-height rows. Only visible rows are painted, each by paintCell(),
// so a list of 100,000 rows costs one small object a row.
class UTIL_ListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int rowHeight = 22;

    UTIL_ListBox(const QString& style, QWidget* parent, unsigned int flags = 0);
    ~UTIL_ListBox() override;

    void insertItem(UTIL_ListBoxItem* item, int index = -1);
    // Appends rows at the end, as insertItem() one by one would, with one update for all.
    void appendItems(const std::vector<UTIL_ListBoxItem*>& items);
    void clear();
    int count() const { return int(rows.size()); }
    UTIL_ListBoxItem* item(int index) const;
    int index(const UTIL_ListBoxItem* item) const;

    int currentItem() const { return current; }
    void setCurrentItem(int index);
    void updateItem(int index);

    int topItem() const;
    int numItemsVisible() const;
    int rowAt(const QPoint& viewportPos) const;
    QRect itemRect(int index) const;

signals:
    void clicked(UTIL_ListBoxItem* item);
    void highlighted(int index);
    void returnPressed(UTIL_ListBoxItem* item);

protected:
    // Paints the background and highlight of a row and sets the pen for its text;
    // the painter's origin is the row's top left corner.
    virtual void paintCell(QPainter* painter, int row, int column);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollRange();
    void ensureVisible(int index);

    std::vector<UTIL_ListBoxItem*> rows;
    int current = -1;
    int pressedRow = -1;
};
