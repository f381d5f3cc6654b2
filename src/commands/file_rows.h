#pragma once

#include "platform/listbox.h"
#include "commands/fileicons.h"
#include "core/folder_reader.h"

#include <QHash>
#include <QPixmap>
#include <QStringList>

#include <vector>

// Why a row whose name is not UTF-8 is refused: a command would reach the entry of the
// name shown, another entry or none.
QString notUtf8Refusal(const QString& shownName);

// A row of a file list: a place holder whose index is the key into the names.
class FileRowItem : public UTIL_ListBoxItem
{
public:
    FileRowItem() : UTIL_ListBoxItem(nullptr, QString(), false) {}
    bool checked = false;
    EntryKind kind = EntryKind::File;
};

// What the three file lists share: one row per entry name, painted with the icon of its
// type (or of its folder name) and the name, and, where the list has checks, a check image.
class FileRowList : public UTIL_ListBox
{
    Q_OBJECT
public:
    // Where a row's pieces are drawn; a check image only where checkX is not negative.
    struct RowLayout {
        int iconX;
        int checkX;
        int nameX;
    };

    FileRowList(QWidget* parent, unsigned int flags);

    void clear();
    // Appends one row per name of a "$"-separated list.
    void stext(const QString& list);
    // Appends one file row per name; a name may hold any character, "$" included.
    void appendNames(const QStringList& entryNames);
    // Appends one row per entry, painted as the kind the reader found.
    void appendEntries(const std::vector<FolderEntry>& entries);
    QString Istr(int row) const { return rowNames.value(row); }
    const QStringList& names() const { return rowNames; }
    void Idir(const QString& path) { folderPath = path; }

    // A row whose name is not UTF-8 is never checked; its entry is known by its bytes only.
    bool isUndecodable(int row) const { return undecodableBytes.contains(row); }
    QByteArray nameBytes(int row) const;
    bool isFolderRow(int row) const;
    bool itemChecked(int row) const;
    void NitemChecked(int row, bool on);
    void FitemChecked(int row);
    void checkEveryRow(bool on);
    // The entries of the checked rows, in row order.
    QStringList checkedPaths() const;

protected:
    // The check images come from "Selected.png" and "Unselected.png" of the working folder.
    void useCheckImages();
    void setRowLayout(const RowLayout& layout) { rowLayout = layout; }
    // The entry a row stands for.
    virtual QString rowPath(int row) const;
    void paintCell(QPainter* painter, int row, int column) override;

private:
    FileRowItem* row(int index) const { return static_cast<FileRowItem*>(item(index)); }

    FileIcons icons;
    QPixmap checkedImage;
    QPixmap uncheckedImage;
    QStringList rowNames;
    QHash<int, QByteArray> undecodableBytes;
    QString folderPath;
    RowLayout rowLayout{5, -1, 32};
};
