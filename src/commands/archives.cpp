#include "app/my_widget.h"

#include "app/settings.h"
#include "app/text.h"
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

QString firstNames(const QStringList& names)
{
    return names.size() <= 3 ? names.join(", ") : names.mid(0, 3).join(", ") + ", ...";
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

}  // namespace

void My_Widget::packSelectedRow(int archiveType)
{
    const ArchiveKind& kind = archiveKind(archiveType);
    const QString here = folder.absolutePath();
    const QString name = selectedName();
    const QString archive = withSlash(here) + name + kind.extension;
    if (ask(CN(kind.rowQuestion) + name + CN(kind.rowQuestionEnd)) == 0 && mayReplace(archive))
        report(runCommand("/bin/tar -C " + quoted(withSlash(here)) + " -czf " + quoted(archive) + " -- " + quoted(name)),
               CN(kind.doneText), name);
    qListBox(here);
}

void My_Widget::packChosenFolder(int archiveType)
{
    const QString chosen = MyDialog::getDirectory();
    if (chosen.isEmpty())
        return;
    showDialogV("/bin/tar czvf ", chosen, fname(chosen),
                CN(archiveKind(archiveType).folderQuestion) + chosen + CN("] Save this dir"), CN("success"), 1,
                archiveType, fnames(chosen));
}

// The three ways to unpack. Each asks, unpacks into the folder named (or, for tar, one
// chosen instead), and shows the done text or what failed.
namespace {

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

void unpackAsked(My_Widget* window, const QString& question, const QString& archive,
                        const QString& target, QString (*command)(const QString&, const QString&))
{
    if (window->ask(question) != 0)
        return;
    const QString name = window->fnames(archive);
    window->showDialog(extractInto(
        target, [&](const QString& into) { return command(archive, into); }, name, name + CN("Extracted")));
}

void unpackWithTar(My_Widget* window, const QString& archive, const QString& target)
{
    const int answer = window->ask(CN("Extract files") + archive + CN(" to this dir"), CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    const QString name = window->fnames(archive);
    const auto command = [&](const QString& into) { return tarCommand(archive, into); };
    if (answer == 0) {
        window->showDialog(extractInto(target, command, name, CN("Extracted")));
    } else if (answer == 2) {
        const QString dest = MyDialog::getDirectory();
        if (dest.isEmpty())
            return;
        const QString text = extractInto(dest, command, name, CN("Extracted"));
        window->qListBox(dest);
        window->showDialog(text);
    }
}

void unpack(My_Widget* window, const QString& archive, const QString& kind, const QString& target)
{
    const QString name = window->fnames(archive);
    if (kind == "rar")
        unpackAsked(window, CN("Extract RAR archive   [") + name + CN("] to this dir"), archive, target, unrarCommand);
    else if (kind == "zip")
        unpackAsked(window, CN("Extract ZIP archive   [") + name + CN("] to this dir"), archive, target, unzipCommand);
    else
        unpackWithTar(window, archive, withSlash(target));
}

}  // namespace

void My_Widget::extractSelected()
{
    const QString path = selectedPath();
    if (!QFileInfo(path).isFile())
        return;
    const QString end = path.right(4).toLower();
    unpack(this, path, end == ".rar" ? "rar" : end == ".zip" ? "zip" : "tar", folder.absolutePath());
    qListBox(folder.absolutePath());
}

// An archive opened by type unpacks beside itself, wherever it was opened from.
void My_Widget::extractOpened(const QString& path)
{
    const QStringList pieces = fnames(path.toLower()).split('.', Qt::SkipEmptyParts);
    const QString extension = pieces.isEmpty() ? QString() : pieces.last();
    const QString beside = fname(path).isEmpty() ? QStringLiteral("/") : fname(path);
    unpack(this, path, extension == "rar" || extension == "zip" ? extension : "tar", beside);
    qListBox(folder.absolutePath());
}
