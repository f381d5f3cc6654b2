#include "commands/trash.h"

#include "commands/entry_bytes.h"
#include "core/folder_reader.h"
#include "core/phonefolders.h"
#include "core/text.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QByteArray infoSuffix = ".trashinfo";

QByteArray homeTrash()
{
    return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + "/Trash";
}

QByteArray parentOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool deviceOf(const QByteArray& path, dev_t* device)
{
    struct stat info;
    if (::lstat(path.constData(), &info) != 0)
        return false;
    *device = info.st_dev;
    return true;
}

// The highest folder of path's file system that holds path: where its trash lies.
QByteArray topFolder(const QByteArray& path, dev_t device)
{
    QByteArray top = path;
    dev_t above;
    while (top != "/" && deviceOf(parentOf(top), &above) && above == device)
        top = parentOf(top);
    return top;
}

bool isUsableFolder(const QByteArray& path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.constData(), W_OK | X_OK) == 0;
}

// A shared ".Trash" counts only as a real folder with the sticky bit: anyone could have put a
// link or an open folder there to catch what others delete.
bool isSharedTrashRoot(const QByteArray& path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX);
}

bool ensureFolder(const QByteArray& path, mode_t mode)
{
    return ::mkdir(path.constData(), mode) == 0 || errno == EEXIST;
}

// The trash with its files/ and info/, made where missing; false when it cannot be.
bool makeTrash(const QByteArray& trash)
{
    return ensureFolder(trash, 0700) && ensureFolder(trash + "/files", 0700) && ensureFolder(trash + "/info", 0700)
           && isUsableFolder(trash + "/files") && isUsableFolder(trash + "/info");
}

// Usable as it is, or could be made in its folder, with room left for the record: a full card
// that could not take it must still let the user delete.
bool trashCanServe(const QByteArray& trash)
{
    struct statvfs space;
    if (::statvfs(parentOf(trash).constData(), &space) == 0 && space.f_bavail * space.f_bsize < 64 * 1024)
        return false;
    struct stat info;
    if (::lstat(trash.constData(), &info) == 0)
        return S_ISDIR(info.st_mode) && ::access(trash.constData(), W_OK | X_OK) == 0;
    return isUsableFolder(parentOf(trash));
}

QByteArray uid()
{
    return QByteArray::number(::getuid());
}

// The trashes of a file system's top folder, the shared one first.
QList<QByteArray> topTrashes(const QByteArray& top)
{
    const QByteArray base = top == "/" ? QByteArray() : top;
    QList<QByteArray> trashes;
    if (isSharedTrashRoot(base + "/.Trash"))
        trashes << base + "/.Trash/" + uid();
    trashes << base + "/.Trash-" + uid();
    return trashes;
}

QByteArray recordText(const QByteArray& path)
{
    return "[Trash Info]\nPath=" + encodeTrashPath(path) + "\nDeletionDate="
           + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + "\n";
}

// What a record says. Lines other than Path and DeletionDate of the [Trash Info] group, comments
// and blank lines are left alone, as other programs may write them; a relative path is relative
// to the top folder the trash lies in.
bool readRecord(const QByteArray& text, const QByteArray& top, TrashedEntry* entry)
{
    bool inGroup = false, hasGroup = false;
    QByteArray path, date;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inGroup = line == "[Trash Info]";
            hasGroup = hasGroup || inGroup;
        } else if (inGroup && line.startsWith("Path=") && path.isEmpty())
            path = line.mid(5);
        else if (inGroup && line.startsWith("DeletionDate=") && date.isEmpty())
            date = line.mid(13);
    }
    QByteArray original;
    if (!hasGroup || path.isEmpty() || !decodeTrashPath(path, &original) || original.contains('\0'))
        return false;
    entry->original = original.startsWith('/') ? original : (top == "/" ? QByteArray() : top) + "/" + original;
    entry->deleted = QDateTime::fromString(QString::fromLatin1(date), Qt::ISODate);
    return true;
}

QList<TrashedEntry> entriesOf(const QByteArray& trash, const QByteArray& top)
{
    QList<TrashedEntry> entries;
    for (const QByteArray& name : everyEntryName(trash + "/files")) {
        TrashedEntry entry;
        entry.trash = QFile::decodeName(trash);
        entry.name = name;
        QFile record(QFile::decodeName(entry.infoPath()));
        if (record.open(QIODevice::ReadOnly) && record.size() < 65536)
            readRecord(record.readAll(), top, &entry);
        entries << entry;
    }
    return entries;
}

}  // namespace

QByteArray encodeTrashPath(const QByteArray& path)
{
    return path.toPercentEncoding("/", QByteArray(), '%');
}

bool decodeTrashPath(const QByteArray& encoded, QByteArray* path)
{
    for (qsizetype i = encoded.indexOf('%'); i >= 0; i = encoded.indexOf('%', i + 1))
        if (i + 2 >= encoded.size() || !std::isxdigit(uchar(encoded.at(i + 1))) || !std::isxdigit(uchar(encoded.at(i + 2))))
            return false;
    *path = QByteArray::fromPercentEncoding(encoded);
    return true;
}

QByteArray TrashedEntry::filePath() const
{
    return QFile::encodeName(trash) + "/files/" + name;
}

QByteArray TrashedEntry::infoPath() const
{
    return QFile::encodeName(trash) + "/info/" + name + infoSuffix;
}

QString TrashedEntry::shownName() const
{
    const QByteArray path = damaged() ? name : original;
    return QFile::decodeName(nameOf(path));
}

QString TrashedEntry::originalFolder() const
{
    return damaged() ? QString() : QFile::decodeName(parentOf(original));
}

QString trashFor(const QByteArray& path, bool create)
{
    dev_t device, homeDevice;
    if (!deviceOf(path, &device))
        return {};
    const QByteArray home = homeTrash();
    if (deviceOf(parentOf(home), &homeDevice) && homeDevice == device)
        return (create ? makeTrash(home) : trashCanServe(home)) ? QFile::decodeName(home) : QString();
    for (const QByteArray& trash : topTrashes(topFolder(path, device)))
        if (create ? makeTrash(trash) : trashCanServe(trash))
            return QFile::decodeName(trash);
    return {};
}

int moveToTrash(const QByteArray& path, const QString& trashFolder, TrashedEntry* trashed)
{
    const QByteArray trash = QFile::encodeName(trashFolder);
    const QByteArray name = nameOf(path);
    // The record's name adds ".trashinfo" and a number to the entry's: a long name is cut to fit.
    QByteArray base = name.left(NAME_MAX - infoSuffix.size() - 6);
    while (base.size() < name.size() && base.size() > 1 && (uchar(name.at(base.size())) & 0xc0) == 0x80)
        base.chop(1);  // not inside a character
    const QByteArray text = recordText(path);
    for (int number = 1; number < 10000; ++number) {
        const QByteArray taken = number == 1 ? base : base + "." + QByteArray::number(number);
        const QByteArray info = trash + "/info/" + taken + infoSuffix;
        // The record first, made only where none is: it holds the name for the entry.
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return errno;
        errno = 0;
        int error = ::write(fd, text.constData(), size_t(text.size())) == text.size() ? 0 : errno != 0 ? errno : ENOSPC;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0)
            error = renameWithoutReplacing(path, trash + "/files/" + taken);
        if (error != 0)
            ::unlink(info.constData());
        if (error == EEXIST)
            continue;
        if (error == 0)
            *trashed = {trashFolder, taken, path, QDateTime::currentDateTime()};
        return error;
    }
    return EEXIST;
}

int restoreFromTrash(const TrashedEntry& entry, bool replace)
{
    if (entry.damaged())
        return ENOENT;
    // The folders it was in, made again where they are gone.
    const QByteArray folder = parentOf(entry.original);
    for (qsizetype slash = folder.indexOf('/', 1); slash >= 0; slash = folder.indexOf('/', slash + 1))
        ensureFolder(folder.left(slash), 0777);
    ensureFolder(folder, 0777);
    bool swapped = false;
    const int error = putInPlace(entry.filePath(), entry.original, replace, &swapped);
    if (swapped) {
        // What stood there now holds the entry's place in the trash; its record is new.
        QFile record(QFile::decodeName(entry.infoPath()));
        return record.open(QIODevice::WriteOnly) && record.write(recordText(entry.original)) >= 0 ? 0 : EIO;
    }
    if (error == 0)
        ::unlink(entry.infoPath().constData());
    return error;
}

QString notRestoredText(const TrashedEntry& entry, int error)
{
    return "[" + entry.shownName() + CN("] stays in the Trash: ")
           + (error == EEXIST ? CN("its place is taken") : errorText(error));
}

int removeFromTrash(const TrashedEntry& entry)
{
    const int error = removeTree(entry.filePath());
    if (error == 0)
        ::unlink(entry.infoPath().constData());
    return error;
}

QList<TrashedEntry> trashedEntries()
{
    QList<QPair<QByteArray, QByteArray>> trashes{{homeTrash(), "/"}};
    for (const QString& point : mountPoints()) {
        const QByteArray top = QFile::encodeName(point);
        for (const QByteArray& trash : topTrashes(top))
            trashes.append({trash, top});
    }
    QList<TrashedEntry> entries;
    QList<QByteArray> seen;
    for (const auto& [trash, top] : trashes) {
        if (seen.contains(trash))
            continue;
        seen << trash;
        entries << entriesOf(trash, top);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TrashedEntry& a, const TrashedEntry& b) { return a.deleted > b.deleted; });
    return entries;
}
