#include "commands/archives.h"

#include "app/settings.h"
#include "app/text.h"
#include "commands/message_layer.h"
#include "commands/paths.h"
#include "commands/runner.h"
#include "info/folder_picker.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ArchiveKind {
    const char* extension;
    const char* rowQuestion;  // the selected name goes between the two halves
    const char* rowQuestionEnd;
    const char* doneText;
    const char* folderQuestion;
};

const ArchiveKind& archiveKind(int archiveType)
{
    static const ArchiveKind tar{".tar.gz", "creat TAR file ", " save this dir", "TAR creat success",
                                 "creat TAR file  ["};
    static const ArchiveKind mpkg{".mpkg", " creat MPKG file ", " save this dir", "MPKG creat success",
                                  "creat MPKG file  ["};
    static const ArchiveKind mtf{".mtf", "creat MTF file  ", " save this dir", "MTF creat success",
                                 "creat MTF file  ["};
    return archiveType == 1 ? mpkg : archiveType == 2 ? mtf : tar;
}

// Extraction goes through a fresh hidden folder inside the target, so that what an archive
// holds never meets what the target already holds while the tool writes. Links that could
// lead out of the target (absolute, or with a ".." step) are left out; the rest is renamed
// into place, replacing files and links of the target instead of following them.
struct Placement {
    QStringList leftOut;
    QStringList notPlaced;
};

QByteArray child(const QByteArray& folder, const char* name)
{
    return folder + '/' + name;
}

QString shown(const QByteArray& relative)
{
    return QFile::decodeName(relative);
}

bool leadsOut(const QByteArray& linkTarget)
{
    if (linkTarget.isEmpty() || linkTarget.startsWith('/'))
        return true;
    for (const QByteArray& step : linkTarget.split('/'))
        if (step == "..")
            return true;
    return false;
}

void forEachEntry(const QByteArray& folder, const std::function<void(const char*)>& visit)
{
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    QList<QByteArray> names;
    while (dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names << QByteArray(entry->d_name);
    }
    closedir(dir);
    for (const QByteArray& name : names)
        visit(name.constData());
}

void dropLinksLeadingOut(const QByteArray& folder, const QByteArray& relative, Placement& placement)
{
    forEachEntry(folder, [&](const char* name) {
        const QByteArray path = child(folder, name);
        const QByteArray inside = relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
        struct stat info;
        if (lstat(path.constData(), &info) != 0)
            return;
        if (S_ISLNK(info.st_mode)) {
            char target[4096];
            const ssize_t size = readlink(path.constData(), target, sizeof target);
            if (size < 0 || size == sizeof target || leadsOut(QByteArray(target, int(size)))) {
                unlink(path.constData());
                placement.leftOut << shown(inside);
            }
        } else if (S_ISDIR(info.st_mode)) {
            chmod(path.constData(), (info.st_mode | S_IRWXU) & 07777);
            dropLinksLeadingOut(path, inside, placement);
        }
    });
}

void moveInto(const QByteArray& from, const QByteArray& to, const QByteArray& relative, Placement& placement)
{
    forEachEntry(from, [&](const char* name) {
        const QByteArray source = child(from, name);
        const QByteArray target = child(to, name);
        const QByteArray inside = relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
        struct stat sourceInfo, targetInfo;
        if (lstat(source.constData(), &sourceInfo) != 0)
            return;
        if (lstat(target.constData(), &targetInfo) == 0) {
            const bool sourceIsDir = S_ISDIR(sourceInfo.st_mode);
            if (S_ISDIR(targetInfo.st_mode)) {
                // A folder of the target takes what the archive holds below the same name.
                if (sourceIsDir)
                    moveInto(source, target, inside, placement);
                else
                    placement.notPlaced << shown(inside);
                return;
            }
            // A file or link of the same name is replaced, as the tools' overwrite option does.
            if (sourceIsDir && unlink(target.constData()) != 0) {
                placement.notPlaced << shown(inside);
                return;
            }
        }
        if (rename(source.constData(), target.constData()) != 0)
            placement.notPlaced << shown(inside);
    });
}

void removeTree(const QByteArray& path)
{
    struct stat info;
    if (lstat(path.constData(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        chmod(path.constData(), S_IRWXU);
        forEachEntry(path, [&](const char* name) { removeTree(child(path, name)); });
        rmdir(path.constData());
    } else {
        unlink(path.constData());
    }
}

// Runs the extraction command made for a fresh folder inside target and puts the result in
// place. Returns the text to show: the done text only when everything came out.
QString extractInto(const QString& target, const std::function<QString(const QString&)>& commandFor,
                    const QString& subject, const QString& doneText)
{
    QByteArray folder = QFile::encodeName(target);
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    QByteArray scratch = (folder == "/" ? QByteArray() : folder) + "/.kestrel-extract-XXXXXX";
    if (!mkdtemp(scratch.data()))
        return "[" + subject + "]" + CN(" failed!\n") + CN("cannot write into ") + target + ": "
               + QString::fromLocal8Bit(std::strerror(errno));
    const CommandResult result = runCommand(commandFor(QFile::decodeName(scratch)));
    Placement placement;
    dropLinksLeadingOut(scratch, QByteArray(), placement);
    moveInto(scratch, folder, QByteArray(), placement);
    removeTree(scratch);

    if (result.succeeded() && placement.leftOut.isEmpty() && placement.notPlaced.isEmpty())
        return doneText;
    QStringList why;
    if (!result.succeeded())
        why << result.failureText();
    if (!placement.leftOut.isEmpty())
        why << CN("left out, links leading outside the folder: ") + firstNames(placement.leftOut);
    if (!placement.notPlaced.isEmpty())
        why << CN("not extracted, a folder of that name is in the way: ") + firstNames(placement.notPlaced);
    return "[" + subject + "]" + CN(" failed!\n") + why.join("\n");
}

QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + "/";
}

QString archiveExtension(int archiveType)
{
    return archiveType == 1 ? "mpkg" : archiveType == 2 ? "mtf" : "tar.gz";
}

QString unrarCommand(const QString& archive, const QString& into)
{
    return quoted(workingFile("unrar")) + " x -t -o+ -p- -kb " + quoted(archive) + " " + quoted(withSlash(into));
}

// -^ keeps control characters such as a new line in names, as the card stores them.
QString unzipCommand(const QString& archive, const QString& into)
{
    return quoted(workingFile("unzip")) + " -o -^ " + quoted(archive) + " -d " + quoted(into);
}

// Without a compression option tar recognises gzip, bzip2, xz and plain archives by their bytes.
QString tarCommand(const QString& archive, const QString& into)
{
    return "/bin/tar xvf " + quoted(archive) + " -C " + quoted(into);
}

void unpackAsked(const MessageLayer& messages, const QString& question, const QString& archive,
                 const QString& target, QString (*command)(const QString&, const QString&))
{
    if (messages.ask(question) != 0)
        return;
    const QString name = fnames(archive);
    messages.show(extractInto(
        target, [&](const QString& into) { return command(archive, into); }, name, name + CN("Extracted")));
}

void unpackWithTar(const MessageLayer& messages, const QString& archive, const QString& target)
{
    const int answer = messages.ask(CN("Extract files") + archive + CN(" to this dir"), CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    const QString name = fnames(archive);
    const auto command = [&](const QString& into) { return tarCommand(archive, into); };
    if (answer == 0) {
        messages.show(extractInto(target, command, name, CN("Extracted")));
    } else if (answer == 2) {
        const QString dest = MyDialog::getDirectory();
        if (dest.isEmpty())
            return;
        const QString text = extractInto(dest, command, name, CN("Extracted"));
        messages.list(dest);
        messages.show(text);
    }
}

}  // namespace

void packEntry(const MessageLayer& messages, const QString& folder, const QString& name, int archiveType)
{
    const ArchiveKind& kind = archiveKind(archiveType);
    const QString archive = withSlash(folder) + name + kind.extension;
    if (messages.ask(CN(kind.rowQuestion) + name + CN(kind.rowQuestionEnd)) == 0 && messages.mayReplace(archive))
        messages.report(runCommand("/bin/tar -C " + quoted(withSlash(folder)) + " -czf " + quoted(archive) + " -- "
                                   + quoted(name)),
                        CN(kind.doneText), name);
    messages.list(folder);
}

void packChosenFolder(const MessageLayer& messages, int archiveType)
{
    const QString chosen = MyDialog::getDirectory();
    if (chosen.isEmpty())
        return;
    packFolderAsked(messages, "/bin/tar czvf ", chosen, fname(chosen),
                    CN(archiveKind(archiveType).folderQuestion) + chosen + CN("] Save this dir"), CN("success"), 1,
                    archiveType, fnames(chosen));
}

void packFolderAsked(const MessageLayer& messages, const QString& head, const QString& source,
                     const QString& tail, const QString& question, const QString& doneText, int packFlag,
                     int archiveType, QString subject)
{
    const int answer = messages.ask(question, CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    if (answer != 0 && answer != 2)
        return;
    const QString name = fnames(source);
    if (packFlag != 0 && name.isEmpty()) {
        // The root has no name to give an archive, and packing it would take the whole phone.
        messages.show(CN("The root folder cannot be packed"));
        return;
    }
    if (subject.isEmpty() && packFlag != 0)
        subject = name;
    const QString extension = archiveExtension(archiveType);
    // Members follow "--" so that no folder name is read as an option of tar.
    const QString member = " -- " + quoted(name + "/");
    if (answer == 0) {
        if (packFlag == 0) {
            messages.report(runCommand(head + source + tail), doneText, subject);
            return;
        }
        const QString archive = source + "." + extension;
        if (!messages.mayReplace(archive))
            return;
        const CommandResult result = runCommand("tar -C " + quoted(source + "/../") + " -czf " + quoted(archive) + member);
        messages.list(source + "/../");
        messages.report(result, doneText, subject);
        return;
    }
    const QString dest = MyDialog::getDirectory();
    if (dest.isEmpty())
        return;
    QString command;
    if (packFlag == 0) {
        command = head + source + quoted(dest);
    } else {
        const QString archive = joinPath(dest, name + "." + extension);
        if (!messages.mayReplace(archive))
            return;
        // A folder right below the root has no parent text: its parent is the root.
        command = head + quoted(archive) + " -C " + quoted(tail.isEmpty() ? QStringLiteral("/") : tail) + member;
    }
    const CommandResult result = runCommand(command);
    messages.list(dest);
    messages.report(result, doneText, subject);
}

void unpackArchive(const MessageLayer& messages, const QString& archive, ArchiveTool tool, const QString& target)
{
    const QString name = fnames(archive);
    if (tool == ArchiveTool::Unrar)
        unpackAsked(messages, CN("Extract RAR archive   [") + name + CN("] to this dir"), archive, target, unrarCommand);
    else if (tool == ArchiveTool::Unzip)
        unpackAsked(messages, CN("Extract ZIP archive   [") + name + CN("] to this dir"), archive, target, unzipCommand);
    else
        unpackWithTar(messages, archive, withSlash(target));
}
