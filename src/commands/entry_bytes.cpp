#include "commands/entry_bytes.h"

#include "core/folder_reader.h"
#include "core/paths.h"
#include "core/text.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// EEXIST at the act: the name was free when the user was asked.
CommandResult outcome(int error, const QString& name)
{
    if (error == EEXIST)
        return CommandResult::failedWith("[" + name + "] appeared meanwhile and was kept");
    if (error != 0)
        return CommandResult::failedWith(errorText(error));
    return CommandResult::done();
}

}  // namespace

int renameWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    // A file system without the flag: the name is checked just before.
    struct stat info;
    if (::lstat(to.constData(), &info) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

int exchangeEntries(const QByteArray& a, const QByteArray& b)
{
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    const QByteArray aside = a + ".kestrel-swap-" + QByteArray::number(::getpid());
    if (::rename(b.constData(), aside.constData()) != 0)
        return errno;
    if (::rename(a.constData(), b.constData()) != 0) {
        const int error = errno;
        ::rename(aside.constData(), b.constData());
        return error;
    }
    return ::rename(aside.constData(), a.constData()) == 0 ? 0 : errno;
}

int putInPlace(const QByteArray& from, const QByteArray& to, bool mayReplace, bool* swapped)
{
    *swapped = false;
    if (mayReplace) {
        const int error = exchangeEntries(from, to);
        if (error != ENOENT) {  // else the old entry went meanwhile
            *swapped = error == 0;
            return error;
        }
    }
    return renameWithoutReplacing(from, to);
}

int removeTree(const QByteArray& path, bool openFolders)
{
    struct stat info;
    if (::lstat(path.constData(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(path.constData()) == 0 ? 0 : errno;
    if (openFolders)
        ::chmod(path.constData(), S_IRWXU);
    int first = 0;
    for (const QByteArray& name : everyEntryName(path)) {
        const int error = removeTree(path + '/' + name, openFolders);
        first = first != 0 ? first : error;
    }
    if (first != 0)
        return first;
    return ::rmdir(path.constData()) == 0 ? 0 : errno;
}

CommandResult renameByBytes(const QString& folder, const QByteArray& name, const QString& newName)
{
    return outcome(renameWithoutReplacing(QFile::encodeName(folder) + '/' + name,
                                          QFile::encodeName(joinPath(folder, newName))),
                   newName);
}

CommandResult removeByBytes(const QString& folder, const QByteArray& name)
{
    return outcome(removeTree(QFile::encodeName(folder) + '/' + name), QString());
}

CommandResult makeFolder(const QString& path)
{
    return outcome(::mkdir(QFile::encodeName(path).constData(), 0777) == 0 ? 0 : errno, fnames(path));
}
