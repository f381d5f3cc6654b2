#include "commands/file_rows.h"

#include "core/settings.h"
#include "core/paths.h"

#include <QFileInfo>
#include <QPainter>

FileRowList::FileRowList(QWidget* parent, unsigned int flags)
    : UTIL_ListBox(QStringLiteral("ezx_util_list"), parent, flags)
{
}

void FileRowList::clear()
{
    UTIL_ListBox::clear();
    rowNames.clear();
}

void FileRowList::useCheckImages()
{
    checkedImage.load(workingFile("Selected.png"));
    uncheckedImage.load(workingFile("Unselected.png"));
}

void FileRowList::stext(const QString& list)
{
    appendNames(splitNameList(list));
}

void FileRowList::appendNames(const QStringList& entryNames)
{
    if (rowNames.isEmpty())
        rowNames = entryNames;  // shared, no copy of a big folder's names
    else
        rowNames += entryNames;
    // One scroll range update for the whole folder, not one per row.
    std::vector<UTIL_ListBoxItem*> items(size_t(entryNames.size()));
    for (UTIL_ListBoxItem*& item : items)
        item = new FileRowItem;
    appendItems(items);
}

void FileRowList::markUndecodable(int index)
{
    if (FileRowItem* found = row(index))
        found->undecodable = true;
}

bool FileRowList::isUndecodable(int index) const
{
    const FileRowItem* found = row(index);
    return found && found->undecodable;
}

bool FileRowList::itemChecked(int index) const
{
    const FileRowItem* found = row(index);
    return found && found->checked;
}

void FileRowList::NitemChecked(int index, bool on)
{
    if (FileRowItem* found = row(index)) {
        found->checked = on;
        updateItem(index);
    }
}

void FileRowList::FitemChecked(int index)
{
    NitemChecked(index, !itemChecked(index));
}

void FileRowList::checkEveryRow(bool on)
{
    for (int index = 0; index < count(); ++index)
        NitemChecked(index, on);
}

QStringList FileRowList::checkedPaths() const
{
    QStringList paths;
    for (int index = 0; index < count(); ++index)
        if (itemChecked(index))
            paths << rowPath(index);
    return paths;
}

QString FileRowList::rowPath(int index) const
{
    return joinPath(folderPath, rowNames.at(index));
}

void FileRowList::paintCell(QPainter* painter, int index, int column)
{
    UTIL_ListBox::paintCell(painter, index, column);
    const QString& name = rowNames.at(index);
    const bool isFolder = QFileInfo(rowPath(index)).isDir();
    painter->drawPixmap(rowLayout.iconX, 0, icons.pixmap(isFolder ? FileIcons::folderIcon(name) : FileIcons::fileIcon(name)));
    if (rowLayout.checkX >= 0)
        painter->drawPixmap(rowLayout.checkX, 3, itemChecked(index) ? checkedImage : uncheckedImage);
    painter->drawText(rowLayout.nameX, 19, name);
}
