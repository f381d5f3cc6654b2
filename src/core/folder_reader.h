#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

#include <vector>

// How the settings order a listing: "Hide" "1" shows hidden entries; "Taxis" "1" sorts by
// time, "2" by size, anything else by name; folders first, case ignored.
QDir::Filters listingFilter(const QString& hideSetting);
QDir::SortFlags listingSort(const QString& taxisSetting);

// The entries of the folder in the order its filter and sorting give, without ".", ".."
// and "diskb". Devices, pipes, sockets and broken links are not listed. Names whose bytes
// are not UTF-8 are listed by a look-alike; their places go to undecodable. False when the
// folder cannot be read.
bool readListing(const QDir& folder, QStringList* names, QList<int>* undecodable = nullptr);

// One entry as read from its folder; a link counts as what it leads to.
struct FolderEntry {
    QString name;
    QString lowerName;
    qint64 modified = 0;  // milliseconds, as the toolkit compares them; only when asked for
    qint64 size = 0;      // only when asked for
    bool isDir = false;
    bool undecodable = false;  // name is a look-alike of the entry's bytes
};

// The entries of a folder as readListing takes them, in the order the folder gives them.
// Only a link, or an entry of unknown type, costs a status call, unless needStat asks for
// every entry's time and size. False when the folder cannot be read.
bool readFolderEntries(const QString& path, bool withHidden, bool needStat, std::vector<FolderEntry>* entries);
// By name, case ignored; names equal but for case in code order.
bool inNameOrder(const FolderEntry& a, const FolderEntry& b);
