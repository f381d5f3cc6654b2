#include "core/folder_reader.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names are mostly ASCII: decode and lower-case those without the general converters,
// which cost a thousand instructions a name. The result is the same as theirs.
QString decodeEntryName(const QByteArray& raw, bool* validUtf8)
{
    for (const char c : raw) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            const QString decoded = QFile::decodeName(raw);
            *validUtf8 = QFile::encodeName(decoded) == raw;
            return decoded;
        }
    }
    return QString::fromLatin1(raw);
}

QString lowerCase(const QString& name)
{
    const QChar* chars = name.constData();
    const qsizetype length = name.size();
    qsizetype first = 0;
    for (; first < length; ++first) {
        const char16_t c = chars[first].unicode();
        if (c >= 0x80)
            return name.toLower();
        if (c >= 'A' && c <= 'Z')
            break;
    }
    if (first == length)
        return name;  // shared, no copy
    QString lower = name;
    QChar* out = lower.data();
    for (qsizetype i = first; i < length; ++i) {
        const char16_t c = out[i].unicode();
        if (c >= 0x80)
            return name.toLower();
        if (c >= 'A' && c <= 'Z')
            out[i] = QChar(char16_t(c + ('a' - 'A')));
    }
    return lower;
}

// Code unit by code unit, as QString::compare does.
int compareUnits(const QString& a, const QString& b)
{
    const std::u16string_view left(reinterpret_cast<const char16_t*>(a.constData()), size_t(a.size()));
    const std::u16string_view right(reinterpret_cast<const char16_t*>(b.constData()), size_t(b.size()));
    return left.compare(right);
}

// Calls visit with the folder's descriptor for every entry but "." and "..".
template <typename Visit>
bool forEachDirent(const QByteArray& path, Visit visit)
{
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const char* raw = found->d_name;
        if (!(raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0'))))
            visit(dirFd, *found);
    }
    ::closedir(dir);
    return true;
}

// The kind of an entry of the type readdir gave; false for one that is not listed.
// info is filled when a status call was needed.
bool entryKind(int dirFd, const dirent& found, EntryKind* kind, struct stat* info, bool* haveInfo)
{
    unsigned char type = found.d_type;
    if (type == DT_UNKNOWN) {  // file systems that do not tell the type while reading
        if (::fstatat(dirFd, found.d_name, info, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        type = IFTODT(info->st_mode);
        *haveInfo = type != DT_LNK;
    }
    if (type == DT_DIR || type == DT_REG) {
        *kind = type == DT_DIR ? EntryKind::Folder : EntryKind::File;
        return true;
    }
    // What a link leads to counts: a folder, a file, or nothing listed.
    if (type != DT_LNK || ::fstatat(dirFd, found.d_name, info, 0) != 0)
        return false;
    *haveInfo = true;
    *kind = S_ISDIR(info->st_mode) ? EntryKind::FolderLink : EntryKind::FileLink;
    return S_ISDIR(info->st_mode) || S_ISREG(info->st_mode);
}

}  // namespace

bool readFolderEntries(const QString& path, bool withHidden, bool needStat, std::vector<FolderEntry>* entries)
{
    entries->clear();
    return forEachDirent(QFile::encodeName(path), [&](int dirFd, const dirent& found) {
        const char* raw = found.d_name;
        if (std::strcmp(raw, "diskb") == 0)
            return;  // the phone's second disk is reached by its own path
        if (raw[0] == '.' && !withHidden)
            return;
        FolderEntry entry;
        struct stat info;
        bool haveInfo = false;
        if (!entryKind(dirFd, found, &entry.kind, &info, &haveInfo))
            return;
        if (needStat && !haveInfo && ::fstatat(dirFd, raw, &info, 0) != 0)
            return;  // gone since it was read
        if (needStat) {
            entry.modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            entry.size = qint64(info.st_size);
        }
        entry.bytes = QByteArray(raw);
        entry.name = decodeEntryName(entry.bytes, &entry.validUtf8);
        entry.lowerName = lowerCase(entry.name);
        entries->push_back(std::move(entry));
    });
}

bool inNameOrder(const FolderEntry& a, const FolderEntry& b)
{
    int c = compareUnits(a.lowerName, b.lowerName);
    if (c == 0)
        c = compareUnits(a.name, b.name);
    return c != 0 ? c < 0 : a.bytes < b.bytes;  // a look-alike beside its bytes: the same order each time
}

FolderEntry parentRow()
{
    FolderEntry parent;
    parent.bytes = "..";
    parent.name = parent.lowerName = QStringLiteral("..");
    parent.kind = EntryKind::Folder;
    return parent;
}

QList<QByteArray> everyEntryName(const QByteArray& folder)
{
    QList<QByteArray> names;
    forEachDirent(folder, [&names](int, const dirent& found) { names << QByteArray(found.d_name); });
    return names;
}

// The order QDir gives for the filters and sort orders the lists use: folders first, then
// by name, newest first or largest first, ties by name, case ignored. QDir builds a file
// info per entry and converts each time to local time at every comparison, which takes
// seconds for a big folder; here every entry is read once and its sort keys kept.
bool readListing(const QDir& folder, std::vector<FolderEntry>* entries)
{
    const QDir::SortFlags order = folder.sorting() & QDir::SortByMask;
    const bool byTime = order == QDir::Time, bySize = order == QDir::Size;
    if (!readFolderEntries(folder.absolutePath(), folder.filter().testFlag(QDir::Hidden), byTime || bySize, entries))
        return false;
    std::sort(entries->begin(), entries->end(), [byTime, bySize](const FolderEntry& a, const FolderEntry& b) {
        if (a.isDir() != b.isDir())
            return a.isDir();
        if (byTime && a.modified != b.modified)
            return a.modified > b.modified;
        if (bySize && a.size != b.size)
            return a.size > b.size;
        return inNameOrder(a, b);
    });
    return true;
}

QDir::Filters listingFilter(const QString& hideSetting)
{
    return hideSetting == "1" ? QDir::AllEntries | QDir::Hidden : QDir::AllEntries;
}

QDir::SortFlags listingSort(const QString& taxisSetting)
{
    const QDir::SortFlags order = taxisSetting == "1" ? QDir::Time : taxisSetting == "2" ? QDir::Size : QDir::Name;
    return order | QDir::DirsFirst | QDir::IgnoreCase;
}
