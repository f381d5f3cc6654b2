#include "editor/file_browser.h"

#include "platform/icons.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

FileBrowser::FileBrowser(const QString& nameFilter, QWidget* parent, const char* name)
    : UTIL_ListBox(QStringLiteral("ezx_util_list"), parent), filter(nameFilter)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setDir(QDir::currentPath());
    connect(this, &UTIL_ListBox::highlighted, this, &FileBrowser::itemHighlighted);
    connect(this, &UTIL_ListBox::returnPressed, this, [this](UTIL_ListBoxItem* item) { itemSelected(index(item)); });
    connect(this, &UTIL_ListBox::clicked, this, &FileBrowser::itemClicked);
}

void FileBrowser::setDir(const QString& path)
{
    QDir dir(path);
    if (!dir.isReadable())
        return;
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
    const QStringList folders = dir.entryList(QDir::AllDirs | QDir::Hidden | QDir::System | QDir::NoDot, order);
    const QStringList files = dir.entryList(QDir::nameFiltersFromString(filter), QDir::Files | QDir::Hidden | QDir::System, order);
    clear();
    for (const QString& name : folders + files)
        new UTIL_ListBoxItem(this, name, false);
    folderRows = int(folders.size());
    folder = dir.canonicalPath();
    // No row is highlighted in a new listing, so nothing is picked.
    pickedPath.clear();
    emit isFilePicked(false);
}

QString FileBrowser::currentText() const
{
    const UTIL_ListBoxItem* row = item(currentItem());
    return row ? row->text() : QString();
}

QString FileBrowser::rowPath(int index) const
{
    const UTIL_ListBoxItem* row = item(index);
    return row ? QDir(folder).filePath(row->text()) : QString();
}

void FileBrowser::itemHighlighted(int index)
{
    const QString full = rowPath(index);
    const bool isFile = !full.isEmpty() && QFileInfo(full).isFile();
    pickedPath = isFile ? full : QString();
    if (isFile)
        emit picked(full);
    emit isFilePicked(isFile);
}

void FileBrowser::itemSelected(int index)
{
    const QString full = rowPath(index);
    if (!full.isEmpty() && QFileInfo(full).isDir())
        setDir(full);
}

void FileBrowser::itemClicked(UTIL_ListBoxItem* row)
{
    itemSelected(index(row));
}

void FileBrowser::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    const QPixmap icon = RES_ICON_Reader().getIcon(row < folderRows ? "FMMS_Personal_Folder_S.gif" : "FMMS_Personal_File_S.gif", true);
    painter->drawPixmap(4, (rowHeight - icon.height()) / 2, icon);
    painter->drawText(QRect(28, 0, viewport()->width() - 30, rowHeight), Qt::AlignVCenter, item(row)->text());
}
