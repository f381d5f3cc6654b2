#pragma once

#include "platform/zmainwidget.h"

#include <QStringList>

class ImageView;
class PopupMenu;

// The image viewer: one image of a folder at a time, its name and place in the folder in
// the title. The configured Left and Right keys, a swipe and the middle key step through
// the folder's images in name order; the left key's menu zooms, fits and turns the image.
class ImageViewer : public ZMainWidget
{
    Q_OBJECT
public:
    explicit ImageViewer(const QString& path, QWidget* parent = nullptr);

    bool qwsEvent(QWSEvent* event) override;

    ImageView* view() const { return imageView; }
    PopupMenu* menu() const { return menuLeft; }
    const QStringList& images() const { return folderImages; }
    QString currentFile() const { return file; }

    enum MenuId { zoomInItem, zoomOutItem, fitItem, rotateItem };

public slots:
    void step(int by);
    void selectMenu(int id);

private:
    void listFolder();
    void showFile(const QString& path);

    ImageView* imageView = nullptr;
    PopupMenu* menuLeft = nullptr;
    QString file;
    QString folder;
    QStringList folderImages;  // names, in name order
    int keyLeft = 0;
    int keyRight = 0;
};
