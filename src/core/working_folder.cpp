#include "core/working_folder.h"

#include "core/settings.h"
#include "core/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Settings: one line for every key, since the program only rewrites lines that exist.
QString systemSettings()
{
    const QStringList lines = {
        "File::" + toStoredBytes(QDir::homePath()), "PassWord::", "Hide::0", "Taxis::0", "window::0", "click::0",
        // Return, Up, Down, Left, Right in the handset's key numbering.
        "Key_Enter::4100", "Key_Up::4115", "Key_Down::4117", "Key_Left::4114", "Key_Right::4116",
        "Key_A::", "Key_B::", "Key_C::", "Key_D::", "ImgFile::", "TXTFile::", "EFile::"};
    return lines.join("\r\n") + "\r\n";
}

// Plugin programs get " -d" and the row's name and run in the folder listed; each leaves a new
// entry there and never writes over one.
const char* const pluginPrograms = "Unpack gzip::/bin/gzip -k\r\nUnpack bzip2::/bin/bzip2 -k\r\n"
                                   "Copy up::/bin/cp -r -n -t ..\r\n";
// Associations get " -d" and the file's full path: an .xz or .lzma file is unpacked beside itself.
const char* const associations = "xz::/usr/bin/xz -k\r\nlzma::/usr/bin/xz -k\r\n";

bool present(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

// Written whole under a temporary name, then renamed without replacing: an entry that took the
// name meanwhile is kept.
bool addFile(const QString& path, const QString& text)
{
    if (present(path))
        return true;
    QTemporaryFile file(path + ".XXXXXX");
    const QByteArray bytes = text.toLatin1();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (!file.rename(path))
        return present(path);
    file.setAutoRemove(false);  // it has its real name now
    return true;
}

// Installed, the program's files are beside its folder; in the build tree, in the build folder
// and the source tree.
QString suppliedFile(const QString& name, const QString& programFolder)
{
    const QStringList places = {programFolder + "/../" KESTREL_LIBEXEC, programFolder + "/../" KESTREL_DATA,
                                programFolder, KESTREL_SOURCE_TREE "/scripts/helpers", KESTREL_SOURCE_TREE "/data"};
    for (const QString& place : places) {
        const QString path = QDir::cleanPath(place + '/' + name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

}  // namespace

QString launcherWorkingFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/kestrel";
}

bool prepareWorkingFolder(const QString& folder, const QString& programFolder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QString in = folder + '/';
    bool complete = addFile(in + "system.txt", systemSettings());
    complete = addFile(in + "software.txt", pluginPrograms) && complete;
    complete = addFile(in + "setup.txt", associations) && complete;
    for (const char* image : {"Selected.png", "Unselected.png"}) {
        const QString source = suppliedFile(image, programFolder);
        complete = (present(in + image) || QFile::copy(source, in + image) || present(in + image)) && complete;
    }
    // Links, so that a new build or install is used at once.
    for (const char* program : {"Edit", "Img", "unzip", "unrar"}) {
        // A link left by a build or install that is gone holds nothing: it is made anew.
        const QFileInfo old(in + program);
        if (old.isSymLink() && !old.exists())
            QFile::remove(in + program);
        const QString target = suppliedFile(program, programFolder);
        complete = (present(in + program) || (!target.isEmpty() && QFile::link(target, in + program))) && complete;
    }
    return complete;
}

bool enterWorkingFolder(const QString& programFolder)
{
    if (QFileInfo::exists(workingFile("system.txt")))
        return true;
    const QString folder = launcherWorkingFolder();
    return prepareWorkingFolder(folder, programFolder) && QDir::setCurrent(folder);
}
