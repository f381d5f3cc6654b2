#include "commands/file_rows.h"

#include "core/settings.h"
#include "core/paths.h"
#include "core/text.h"

#include <QFile>
#include <QPainter>

QString notUtf8Refusal(const QString& shownName)
{
    return "[" + shownName + CN("] cannot be used: its name is not valid UTF-8");
}

FileRowList::FileRowList(QWidget* parent, unsigned int flags)
    : UTIL_ListBox(QStringLiteral("ezx_util_list"), parent, flags)
{
}

void FileRowList::clear()
{
    UTIL_ListBox::clear();
    rowNames.clear();
    undecodableBytes.clear();
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

void FileRowList::appendEntries(const std::vector<FolderEntry>& entries)
{
    const int first = count();
    std::vector<UTIL_ListBoxItem*> items;
    items.reserve(entries.size());
    rowNames.reserve(first + qsizetype(entries.size()));
    for (const FolderEntry& entry : entries) {
        if (!entry.validUtf8)
            undecodableBytes.insert(first + int(items.size()), entry.bytes);
        auto* item = new FileRowItem;
        item->kind = entry.kind;
        items.push_back(item);
        rowNames << entry.name;
    }
    appendItems(items);
}

QByteArray FileRowList::nameBytes(int index) const
{
    return undecodableBytes.value(index, QFile::encodeName(Istr(index)));
}

bool FileRowList::isFolderRow(int index) const
{
    const FileRowItem* found = row(index);
    return found && isFolderKind(found->kind);
}

bool FileRowList::itemChecked(int index) const
{
    const FileRowItem* found = row(index);
    return found && found->checked;
}

void FileRowList::NitemChecked(int index, bool on)
{
    if (FileRowItem* found = row(index)) {
        found->checked = on && !isUndecodable(index);
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
    painter->drawPixmap(rowLayout.iconX, 0, icons.pixmap(isFolderRow(index) ? FileIcons::folderIcon(name) : FileIcons::fileIcon(name)));
    if (rowLayout.checkX >= 0)
        painter->drawPixmap(rowLayout.checkX, 3, itemChecked(index) ? checkedImage : uncheckedImage);
    painter->drawText(rowLayout.nameX, 19, name);
}
