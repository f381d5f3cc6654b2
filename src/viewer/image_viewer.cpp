#include "viewer/image_viewer.h"

#include "platform/keys.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/filetypes.h"
#include "core/folder_reader.h"
#include "core/settings.h"
#include "core/text.h"
#include "viewer/image_view.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

// A key that system.txt does not name keeps the handset's own arrow.
int keySetting(const char* key, int handsetKey)
{
    const int code = iniRead(QString::fromLatin1(key)).toInt();
    return code ? code : handsetKey;
}

}  // namespace

ImageViewer::ImageViewer(const QString& path, QWidget* parent)
    : ZMainWidget(CN("Img"), true, parent, nullptr, {})
{
    keyLeft = keySetting("Key_Left", oldToolkitKeyCode(Qt::Key_Left));
    keyRight = keySetting("Key_Right", oldToolkitKeyCode(Qt::Key_Right));

    imageView = new ImageView(this);
    setContentWidget(imageView);
    connect(imageView, &ImageView::swiped, this, &ImageViewer::step);

    auto* softKeys = new UTIL_CST(this, CN("Next"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    connect(softKeys->getMidBtn(), &QPushButton::clicked, this, [this] { step(1); });
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    menuLeft = new PopupMenu(softKeys);
    menuLeft->insertItem(CN("Zoom in"), zoomInItem, -1);
    menuLeft->insertItem(CN("Zoom out"), zoomOutItem, -1);
    menuLeft->insertItem(CN("Fit"), fitItem, -1);
    menuLeft->insertItem(CN("Rotate"), rotateItem, -1);
    connect(menuLeft, &PopupMenu::activated, this, &ImageViewer::selectMenu);
    softKeys->getLeftBtn()->setPopup(menuLeft);

    if (path.isEmpty()) {
        imageView->showMessage(CN("No image to show"));
        return;
    }
    const QFileInfo named(path);
    folder = named.absolutePath();
    listFolder();
    showFile(named.absoluteFilePath());
}

// Images of the folder, those with the image icon, by name, case ignored, as the file list
// shows them; hidden ones only when the file list shows those too. A name that is not UTF-8
// is passed over: its path would show another file, or none.
void ImageViewer::listFolder()
{
    QDir listing(folder);
    listing.setFilter(listingFilter(iniRead("Hide")));
    listing.setSorting(listingSort("0"));
    std::vector<FolderEntry> entries;
    readListing(listing, &entries);
    folderImages.clear();
    for (const FolderEntry& entry : entries)
        if (!entry.isDir() && entry.validUtf8 && endingKind(entry.name) == FileKind::Image)
            folderImages << entry.name;
}

void ImageViewer::showFile(const QString& path)
{
    file = path;
    imageView->setFile(path);
    const QString name = QFileInfo(path).fileName();
    const qsizetype place = folderImages.indexOf(name);
    getTitleBarWidget()->setText(place < 0 ? name
                                           : QStringLiteral("%1  %2 / %3").arg(name).arg(place + 1).arg(folderImages.size()));
}

// From a file the folder does not list, the next image is the first and the previous the last.
void ImageViewer::step(int by)
{
    const qsizetype count = folderImages.size();
    if (count == 0)
        return;
    const qsizetype place = folderImages.indexOf(QFileInfo(file).fileName());
    const qsizetype next = place < 0 ? (by > 0 ? 0 : count - 1) : ((place + by) % count + count) % count;
    showFile(QDir(folder).filePath(folderImages.at(next)));
}

void ImageViewer::selectMenu(int id)
{
    switch (id) {
    case zoomInItem:
        imageView->zoomIn();
        break;
    case zoomOutItem:
        imageView->zoomOut();
        break;
    case fitItem:
        imageView->fit();
        break;
    case rotateItem:
        imageView->rotate();
        break;
    default:
        break;
    }
}

bool ImageViewer::qwsEvent(QWSEvent* event)
{
    if (event->type != QWSEvent::Key)
        return ZMainWidget::qwsEvent(event);
    const auto* key = static_cast<QWSKeyEvent*>(event);
    const int code = key->simpleData.keycode;
    if (code != keyLeft && code != keyRight)
        return false;
    if (key->simpleData.is_press)
        step(code == keyRight ? 1 : -1);
    return true;
}
