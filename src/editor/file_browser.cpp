#include "editor/file_browser.h"

#include "commands/file_rows.h"
#include "commands/message_layer.h"
#include "platform/icons.h"

#include <QDir>
#include <QPainter>

#include <algorithm>
#include <iterator>

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
    dir.setFilter(listingFilter("1"));
    dir.setSorting(listingSort("0"));
    std::vector<FolderEntry> read;
    if (!readListing(dir, &read))
        return;
    const QStringList patterns = QDir::nameFiltersFromString(filter);
    read.erase(std::remove_if(read.begin(), read.end(),
                              [&patterns](const FolderEntry& entry) { return !entry.isDir() && !QDir::match(patterns, entry.name); }),
               read.end());
    entries.assign(1, parentRow());
    entries.insert(entries.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    clear();
    for (const FolderEntry& entry : entries)
        new UTIL_ListBoxItem(this, entry.name, false);
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

// A name that is not UTF-8 is never picked: the path would name another entry, or none.
void FileBrowser::itemHighlighted(int index)
{
    const QString full = rowPath(index);
    const bool isFile = !full.isEmpty() && !entries[size_t(index)].isDir() && entries[size_t(index)].validUtf8;
    pickedPath = isFile ? full : QString();
    if (isFile)
        emit picked(full);
    emit isFilePicked(isFile);
}

void FileBrowser::itemSelected(int index)
{
    const QString full = rowPath(index);
    if (full.isEmpty())
        return;
    if (!entries[size_t(index)].validUtf8)
        MessageLayer(window(), "Dialog_Empty_Trash.gif").show(notUtf8Refusal(entries[size_t(index)].name));
    else if (entries[size_t(index)].isDir())
        setDir(full);
}

void FileBrowser::itemClicked(UTIL_ListBoxItem* row)
{
    itemSelected(index(row));
}

void FileBrowser::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    const QPixmap icon = RES_ICON_Reader().getIcon(entries[size_t(row)].isDir() ? "FMMS_Personal_Folder_S.gif" : "FMMS_Personal_File_S.gif", true);
    painter->drawPixmap(4, (rowHeight - icon.height()) / 2, icon);
    painter->drawText(QRect(28, 0, viewport()->width() - 30, rowHeight), Qt::AlignVCenter, item(row)->text());
}
