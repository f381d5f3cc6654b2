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
// A name whose bytes are not UTF-8 decodes to a look-alike that names another entry, or
// none: undecodable tells so.
QString decodeEntryName(const char* raw, bool* undecodable)
{
    const size_t length = std::strlen(raw);
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(raw[i]) >= 0x80) {
            const QString decoded = QFile::decodeName(raw);
            *undecodable = QFile::encodeName(decoded) != QByteArray(raw, qsizetype(length));
            return decoded;
        }
    }
    return QString::fromLatin1(raw, qsizetype(length));
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

}  // namespace

bool readFolderEntries(const QString& path, bool withHidden, bool needStat, std::vector<FolderEntry>* entries)
{
    entries->clear();
    DIR* dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const char* raw = found->d_name;
        if (raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0')))
            continue;  // the folder itself and its parent
        if (std::strcmp(raw, "diskb") == 0)
            continue;  // the phone's second disk is reached by its own path
        if (raw[0] == '.' && !withHidden)
            continue;
        FolderEntry entry;
        struct stat info;
        bool haveInfo = false;
        unsigned char type = found->d_type;
        if (type == DT_UNKNOWN) {  // file systems that do not tell the type while reading
            if (::fstatat(dirFd, raw, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : S_ISLNK(info.st_mode) ? DT_LNK : DT_FIFO;
        }
        switch (type) {
        case DT_DIR:
            entry.isDir = true;
            break;
        case DT_REG:
            break;
        case DT_LNK:
            // What a link points to counts; a broken link is not listed.
            if (::fstatat(dirFd, raw, &info, 0) != 0)
                continue;
            haveInfo = true;
            entry.isDir = S_ISDIR(info.st_mode);
            break;
        default:
            continue;  // devices, pipes and sockets are not listed
        }
        if (needStat && !haveInfo) {
            if (::fstatat(dirFd, raw, &info, 0) != 0)
                continue;  // gone since it was read
        }
        if (needStat) {
            entry.modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            entry.size = qint64(info.st_size);
        }
        entry.name = decodeEntryName(raw, &entry.undecodable);
        entry.lowerName = lowerCase(entry.name);
        entries->push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}

bool inNameOrder(const FolderEntry& a, const FolderEntry& b)
{
    const int c = compareUnits(a.lowerName, b.lowerName);
    return c != 0 ? c < 0 : compareUnits(a.name, b.name) < 0;
}

namespace {

// The names of a folder in the order QDir gives them for the filters and sort orders
// the main window uses: folders first, then by name, newest first or largest first,
// ties by name, case ignored. QDir builds a file info per entry and converts each time
// to local time at every comparison, which takes seconds for a big folder; here every
// entry is read once and its sort keys kept.
bool readFolder(const QString& path, bool withHidden, QDir::SortFlags order, QStringList* names,
                QList<int>* undecodable)
{
    names->clear();
    std::vector<FolderEntry> entries;
    if (!readFolderEntries(path, withHidden, order != QDir::Name, &entries))
        return false;
    if (order == QDir::Time) {
        std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            if (a.isDir != b.isDir)
                return a.isDir;
            return a.modified != b.modified ? a.modified > b.modified : inNameOrder(a, b);
        });
    } else if (order == QDir::Size) {
        std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            if (a.isDir != b.isDir)
                return a.isDir;
            return a.size != b.size ? a.size > b.size : inNameOrder(a, b);
        });
    } else {
        std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            return a.isDir != b.isDir ? a.isDir : inNameOrder(a, b);
        });
    }
    names->reserve(int(entries.size()));
    for (FolderEntry& entry : entries) {
        if (entry.undecodable && undecodable)
            undecodable->append(int(names->size()));
        names->append(std::move(entry.name));
    }
    return true;
}

}  // namespace

QDir::Filters listingFilter(const QString& hideSetting)
{
    return hideSetting == "1" ? QDir::AllEntries | QDir::Hidden : QDir::AllEntries;
}

QDir::SortFlags listingSort(const QString& taxisSetting)
{
    const QDir::SortFlags order = taxisSetting == "1" ? QDir::Time : taxisSetting == "2" ? QDir::Size : QDir::Name;
    return order | QDir::DirsFirst | QDir::IgnoreCase;
}

bool readListing(const QDir& folder, QStringList* names, QList<int>* undecodable)
{
    const QDir::SortFlags order = folder.sorting() & QDir::SortByMask;
    return readFolder(folder.absolutePath(), folder.filter().testFlag(QDir::Hidden),
                      order == QDir::Time || order == QDir::Size ? order : QDir::SortFlags(QDir::Name), names,
                      undecodable);
}
