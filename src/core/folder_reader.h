#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include <vector>

// How the settings order a listing: "Hide" "1" shows hidden entries; "Taxis" "1" sorts by
// time, "2" by size, anything else by name; folders first, case ignored.
QDir::Filters listingFilter(const QString& hideSetting);
QDir::SortFlags listingSort(const QString& taxisSetting);

// What an entry is; a link counts as what it leads to.
enum class EntryKind : unsigned char { Folder, File, FolderLink, FileLink };
inline bool isFolderKind(EntryKind kind)
{
    return kind == EntryKind::Folder || kind == EntryKind::FolderLink;
}

// One entry as read from its folder.
struct FolderEntry {
    QByteArray bytes;  // the name as the folder holds it
    QString name;      // the name shown: a look-alike of the bytes when they are not UTF-8
    QString lowerName;
    qint64 modified = 0;  // milliseconds, as the toolkit compares them; only when asked for
    qint64 size = 0;      // only when asked for
    EntryKind kind = EntryKind::File;
    bool validUtf8 = true;  // false: the name shown stands for another entry, or for none

    bool isDir() const { return isFolderKind(kind); }
};

// The entries of a folder, without ".", ".." and "diskb", in the order the folder gives
// them. Devices, pipes, sockets, links to those and broken links are left out. Only a
// link, or an entry of unknown type, costs a status call, unless needStat asks for every
// entry's time and size. False when the folder cannot be read.
bool readFolderEntries(const QString& path, bool withHidden, bool needStat, std::vector<FolderEntry>* entries);

// The entries of the folder as readFolderEntries takes them, in the order its filter and
// sorting give, as QDir would. False when the folder cannot be read.
bool readListing(const QDir& folder, std::vector<FolderEntry>* entries);

// By name, case ignored; names equal but for case in code order, names shown alike by bytes.
bool inNameOrder(const FolderEntry& a, const FolderEntry& b);

// The ".." row of a list: the folder above.
FolderEntry parentRow();

// Every name a folder holds but "." and "..", whatever the entry is, by its bytes.
QList<QByteArray> everyEntryName(const QByteArray& folder);
