#include "commands/archives.h"

#include "core/filetypes.h"
#include "core/folder_reader.h"
#include "core/settings.h"
#include "core/text.h"
#include "commands/entry_bytes.h"
#include "commands/job.h"
#include "commands/message_layer.h"
#include "core/paths.h"
#include "commands/runner.h"
#include "commands/transfer.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
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

// unrar takes its last argument for the folder to extract into only when it ends in a slash.
QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + "/";
}

QString archiveExtension(int archiveType)
{
    return archiveType == 1 ? "mpkg" : archiveType == 2 ? "mtf" : "tar.gz";
}

// unzip: -^ keeps control characters such as a new line in names, as the card stores them.
// tar: without a compression option it recognises gzip, bzip2, xz and plain archives by
// their bytes; owners and modes are those an ordinary user would get.
QStringList extractionArguments(ArchiveTool tool, const QString& archive, const QString& into)
{
    switch (tool) {
    case ArchiveTool::Unrar:
        return {workingFile("unrar"), "x", "-t", "-o+", "-p-", "-kb", archive, withSlash(into)};
    case ArchiveTool::Unzip:
        return {workingFile("unzip"), "-o", "-^", archive, "-d", into};
    case ArchiveTool::Tar:
        break;
    }
    return {"/bin/tar", "xvf", archive, "--no-same-owner", "--no-same-permissions", "-C", into};
}

// Extraction goes through a fresh hidden folder inside the target, so that what an archive
// holds never meets what the target already holds while the tool writes. There the result
// is made safe, then renamed into place entry by entry: the program knows exactly what
// each entry would replace.
struct Placement {
    QStringList linksLeadingOut;
    QStringList specialFiles;  // device nodes, FIFOs and sockets
    QStringList inTheWay;      // the target has an entry of another kind under the name
    QStringList existing;      // the target has an entry of the same kind: it would be replaced
    QStringList notPlaced;     // the rename failed
    QStringList fresh;         // the target has no entry under the name
    QStringList notDone;       // left in the scratch by Stop
    int placed = 0;
    bool leftOutRemains = false;  // an entry left out could not be removed: nothing is placed
};

QByteArray child(const QByteArray& folder, const QByteArray& name)
{
    return folder + '/' + name;
}

QByteArray below(const QByteArray& relative, const QByteArray& name)
{
    return relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
}

QString shown(const QByteArray& relative)
{
    return QFile::decodeName(relative);
}

bool leadsOut(const QByteArray& path)
{
    char target[4096];
    const ssize_t size = readlink(path.constData(), target, sizeof target);
    if (size <= 0 || size == sizeof target || target[0] == '/')
        return true;
    for (const QByteArray& step : QByteArray(target, int(size)).split('/'))
        if (step == "..")
            return true;
    return false;
}

void forEachEntry(const QByteArray& folder, const std::function<void(const char*)>& visit)
{
    QList<QByteArray> names = everyEntryName(folder);
    std::sort(names.begin(), names.end());  // so that reports name entries in a steady order
    for (const QByteArray& name : names)
        visit(name.constData());
}

// ZIP members without the UTF-8 flag carry names in code page 437, which the tool writes as
// stored. A name that reads as UTF-8 stays: many programs write UTF-8 without the flag.
QByteArray readInCodePage437(const QByteArray& folder, const QByteArray& stored)
{
    if (QString::fromUtf8(stored).toUtf8() == stored)
        return stored;
    const QByteArray name = QTextCodec::codecForName("IBM437")->toUnicode(stored).toUtf8();
    return renameWithoutReplacing(child(folder, stored), child(folder, name)) == 0 ? name : stored;
}

// An entry left out goes; one that stays keeps everything from being placed.
void leaveOut(const QByteArray& path, Placement& placement)
{
    if (unlink(path.constData()) != 0)
        placement.leftOutRemains = true;
}

// Removes what the card must not get from an archive: links that could lead out of the
// target (absolute, or with a ".." step), device nodes, FIFOs and sockets; clears setuid
// and setgid. Folders are made walkable for the rest of the work.
void makeSafe(const QByteArray& folder, const QByteArray& relative, ArchiveTool tool, Placement& placement)
{
    forEachEntry(folder, [&](const char* stored) {
        const QByteArray name = tool == ArchiveTool::Unzip ? readInCodePage437(folder, stored) : QByteArray(stored);
        const QByteArray path = child(folder, name);
        struct stat info;
        if (lstat(path.constData(), &info) != 0)
            return;
        const mode_t kept = info.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO | S_ISVTX);
        if (S_ISLNK(info.st_mode)) {
            if (leadsOut(path)) {
                leaveOut(path, placement);
                placement.linksLeadingOut << shown(below(relative, name));
            }
        } else if (S_ISDIR(info.st_mode)) {
            chmod(path.constData(), kept | S_IRWXU);
            makeSafe(path, below(relative, name), tool, placement);
        } else if (S_ISREG(info.st_mode)) {
            if (kept != (info.st_mode & 07777))
                chmod(path.constData(), kept);
        } else {
            leaveOut(path, placement);
            placement.specialFiles << shown(below(relative, name));
        }
    });
}

// What to do with an entry of the target that has the name of an extracted one of the same
// kind; a folder always takes what the archive holds below the same name, and an entry of
// another kind always stays.
enum class Existing { Survey, Keep, Replace };

// With a job, each entry placed is shown, and after Stop the rest stay in the scratch.
void moveInto(const QByteArray& from, const QByteArray& to, const QByteArray& relative, Existing existing,
              Placement& placement, Job* job = nullptr)
{
    forEachEntry(from, [&](const char* name) {
        const QByteArray source = child(from, name);
        const QByteArray target = child(to, name);
        struct stat sourceInfo, targetInfo;
        if (lstat(source.constData(), &sourceInfo) != 0)
            return;
        const bool present = lstat(target.constData(), &targetInfo) == 0;
        const bool sameKind = present && (sourceInfo.st_mode & S_IFMT) == (targetInfo.st_mode & S_IFMT);
        if (sameKind && S_ISDIR(sourceInfo.st_mode)) {
            moveInto(source, target, below(relative, name), existing, placement, job);
            return;
        }
        const QString entry = shown(below(relative, name));
        if (existing == Existing::Survey) {
            (!present ? placement.fresh : sameKind ? placement.existing : placement.inTheWay) << entry;
            return;
        }
        if (present && (!sameKind || existing == Existing::Keep))
            return;
        if (job) {
            job->progress(placement.placed, 0, entry);
            job->poll();
            if (job->stopped()) {
                placement.notDone << entry;
                return;
            }
        }
        // Only what the user agreed to replace is replaced: an entry that appeared since the
        // question is kept, and named as not extracted.
        const bool agreed = placement.existing.contains(entry);
        const int error = !present ? renameWithoutReplacing(source, target)
                          : !agreed ? EEXIST
                          : rename(source.constData(), target.constData()) == 0 ? 0 : errno;
        if (error != 0)
            placement.notPlaced << entry;
        else
            ++placement.placed;
    });
}

QString cannotWriteInto(const QString& folder)
{
    return CN("cannot write into ") + folder + ": " + errorText(errno);
}

}  // namespace

// unzip tells it by its status 1 (warnings only); tar by its words, which escape the
// control characters of names, so that no name can forge a line.
bool onlyMembersRefused(ArchiveTool tool, const CommandResult& result)
{
    if (tool == ArchiveTool::Unzip)
        return result.started && result.exitCode == 1;
    if (tool != ArchiveTool::Tar)
        return false;
    static const QRegularExpression refusal(
        "^(/bin/)?tar: (Removing leading `.*' from (member names|hard link targets)|.*: Member name contains '\\.\\.'"
        "|Exiting with failure status due to previous errors)$");
    const QStringList lines = result.errorOutput.split('\n', Qt::SkipEmptyParts);
    return std::all_of(lines.cbegin(), lines.cend(),
                       [](const QString& line) { return refusal.match(line).hasMatch(); });
}

namespace {

void addNames(QStringList& why, const char* what, const QStringList& names)
{
    if (!names.isEmpty())
        why << CN(what) + firstNames(names);
}

// Runs the tool into the scratch folder as a job, showing the entries and bytes written so far.
// What the archive holds is unknown before it is read: with no total, the job's strip would show
// neither, so they go in the text. No entry counts as done before it is placed.
CommandResult runTool(ArchiveTool tool, const QString& archive, const QByteArray& scratch)
{
    Job job;
    const QString name = fnames(archive);
    job.progress(0, 0, name);
    ProgramOptions options;
    options.fixedLocale = true;
    WrittenSoFar soFar(QFile::decodeName(scratch));
    options.measure = [&](bool) {
        const TreeTotal written = soFar.total();
        job.progress(0, written.bytes,
                     QString::number(written.entries - 1) + " · " + shownBytes(written.bytes) + " · " + name);
    };
    CommandResult result = job.run(extractionArguments(tool, archive, QFile::decodeName(scratch)), options);
    // Stop may come right after the tool ended.
    result.stopped = job.stopped();
    return result;
}

// Runs the tool into a fresh folder inside target and puts the result in place, asking
// before it replaces anything. Returns the text to show, null when the user cancelled: the
// done text only when everything came out. After a failure of the tool nothing replaces an
// entry of the target, and nothing at all is placed unless the failure was members refused.
// Stop leaves what is placed in place; the rest goes with the scratch.
QString extractInto(const MessageLayer& messages, const QString& target, ArchiveTool tool, const QString& archive,
                    const QString& doneText)
{
    const QString subject = fnames(archive);
    QByteArray folder = QFile::encodeName(target);
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);
    QByteArray scratch = (folder == "/" ? QByteArray() : folder) + "/.kestrel-extract-XXXXXX";
    if (!mkdtemp(scratch.data()))
        return "[" + subject + "]" + CN(" failed!\n") + cannotWriteInto(target);
    CommandResult result = runTool(tool, archive, scratch);
    if (result.stopped) {
        removeTree(scratch, true);
        return "[" + subject + "]" + CN(" stopped\nnothing was extracted");
    }
    result.errorOutput.replace(QFile::decodeName(scratch), QFile::decodeName(folder));
    Placement placement;
    makeSafe(scratch, QByteArray(), tool, placement);
    // A folder moved into place would carry along what could not be left out.
    const bool complete = !placement.leftOutRemains && (result.succeeded() || onlyMembersRefused(tool, result));
    bool stopped = false;
    qsizetype toPlace = 0;
    if (complete) {
        moveInto(scratch, folder, QByteArray(), Existing::Survey, placement);
        Existing existing = Existing::Keep;
        // Asked while no job runs, so that the question takes every key.
        if (result.succeeded() && !placement.existing.isEmpty()) {
            const MessageLayer::ReplaceAnswer answer = messages.askReplace(placement.existing, QFile::decodeName(folder));
            if (answer == MessageLayer::Cancel) {
                removeTree(scratch, true);
                return QString();
            }
            existing = answer == MessageLayer::Replace ? Existing::Replace : Existing::Keep;
        }
        toPlace = placement.fresh.size() + (existing == Existing::Replace ? placement.existing.size() : 0);
        Job job;
        job.setTotal(toPlace, 0);
        moveInto(scratch, folder, QByteArray(), existing, placement, &job);
        stopped = job.stopped();
    }
    removeTree(scratch, true);

    QStringList why;
    if (stopped)
        why << QString::number(placement.placed) + CN(" of ") + QString::number(toPlace) + CN(" extracted")
                   + (placement.notDone.isEmpty() ? QString() : CN(", not done: ") + firstNames(placement.notDone));
    if (!result.succeeded())
        why << result.failureText();
    addNames(why, "left out, links leading outside the folder: ", placement.linksLeadingOut);
    addNames(why, "left out, device nodes, FIFOs and sockets: ", placement.specialFiles);
    addNames(why, "not extracted, an entry of another kind is in the way: ", placement.inTheWay);
    if (!result.succeeded())
        addNames(why, "not extracted, already there: ", placement.existing);
    addNames(why, "not extracted: ", placement.notPlaced);
    if (why.isEmpty())
        return doneText;
    if (!result.succeeded() || !complete)
        why << CN(complete ? "the other entries were extracted" : "nothing was extracted");
    return "[" + subject + "]" + CN(stopped ? " stopped\n" : " failed!\n") + why.join("\n");
}

// What the program has read so far, as the kernel counts it; -1 when it cannot be told.
qint64 bytesReadBy(pid_t program)
{
    QFile counts(QStringLiteral("/proc/%1/io").arg(program));
    if (program <= 0 || !counts.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray read = counts.readLine();
    return read.startsWith("rchar:") ? read.mid(6).trimmed().toLongLong() : -1;
}

// Puts the finished archive at its name, decided at the act: an entry that appeared there since
// the question is kept (EEXIST). An archive the user agreed to replace is swapped with the new
// one and goes after; 0, or the error.
int placeArchive(const QByteArray& temporary, const QByteArray& archive, bool replace)
{
    bool swapped = false;
    const int error = putInPlace(temporary, archive, replace, &swapped);
    if (!swapped || unlink(temporary.constData()) == 0)
        return error;
    // A folder took the old archive's place: it goes back.
    const int kept = errno;
    exchangeEntries(temporary, archive);
    return kept;
}

CommandResult stoppedPack()
{
    CommandResult result = CommandResult::failedWith(CN("nothing was packed"));
    result.stopped = true;
    return result;
}

// Packs member of folder as a job; it follows "--", so that no name is read as an option of tar. tar writes the archive beside its place under a temporary
// name, which becomes the archive's only when tar succeeded and Stop did not come: a failed or
// stopped pack leaves no cut archive and keeps an old one whole. The bytes shown are those tar
// has read, against the member's size measured first.
CommandResult packBeside(const QString& archive, bool replace, const QString& folder, const QString& member)
{
    Job job;
    job.show(CN("Measuring..."));
    const qint64 total = measureTrees({joinPath(folder, member)}, &job).bytes;
    if (job.stopped())
        return stoppedPack();
    QByteArray temporary = QFile::encodeName(joinPath(parentFolder(archive), ".kestrel-pack-XXXXXX"));
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return CommandResult::failedWith(cannotWriteInto(parentFolder(archive)));
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    job.setTotal(0, total);
    ProgramOptions options;
    options.measure = [&](bool) {
        const qint64 read = bytesReadBy(job.program());
        job.progress(0, read < 0 ? total : qMin(read, total), fnames(member));
    };
    CommandResult result =
        job.run({"/bin/tar", "-C", folder, "-czf", QFile::decodeName(temporary), "--", member}, options);
    result.errorOutput.replace(QFile::decodeName(temporary), archive);
    if (job.stopped()) {
        result = stoppedPack();
    } else if (result.succeeded()) {
        const int error = placeArchive(temporary, QFile::encodeName(archive), replace);
        if (error == EEXIST)
            result = CommandResult::failedWith("[" + fnames(archive) + CN("] appeared meanwhile and was kept"));
        else if (error != 0)
            result = CommandResult::failedWith(archive + ": " + errorText(error));
    }
    if (!result.succeeded())
        unlink(temporary.constData());
    return result;
}

void showUnlessCancelled(const MessageLayer& messages, const QString& text)
{
    if (!text.isNull())
        messages.show(text);
}

void unpackAsked(const MessageLayer& messages, const QString& question, const QString& archive,
                 const QString& target, ArchiveTool tool)
{
    if (messages.ask(question) == 0)
        showUnlessCancelled(messages, extractInto(messages, target, tool, archive, fnames(archive) + CN("Extracted")));
}

void unpackWithTar(const MessageLayer& messages, const QString& archive, const QString& target)
{
    const int answer = messages.ask(CN("Extract files") + archive + CN(" to this dir"), CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    if (answer == 0) {
        showUnlessCancelled(messages, extractInto(messages, target, ArchiveTool::Tar, archive, CN("Extracted")));
    } else if (answer == 2) {
        const QString dest = messages.chooseFolder();
        if (dest.isEmpty())
            return;
        const QString text = extractInto(messages, dest, ArchiveTool::Tar, archive, CN("Extracted"));
        messages.list(dest);
        showUnlessCancelled(messages, text);
    }
}

}  // namespace

void packEntry(const MessageLayer& messages, const QString& folder, const QString& name, int archiveType)
{
    const ArchiveKind& kind = archiveKind(archiveType);
    const QString archive = joinPath(folder, name + kind.extension);
    if (messages.ask(CN(kind.rowQuestion) + name + CN(kind.rowQuestionEnd)) == 0) {
        const bool replace = entryExists(archive);
        if (messages.mayReplace(archive))
            messages.report(packBeside(archive, replace, folder, name), CN(kind.doneText), name);
    }
    messages.list(folder);
}

void packChosenFolder(const MessageLayer& messages, int archiveType)
{
    const QString source = messages.chooseFolder();
    if (source.isEmpty())
        return;
    const int answer = messages.ask(CN(archiveKind(archiveType).folderQuestion) + source + CN("] Save this dir"),
                                    CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    if (answer != 0 && answer != 2)
        return;
    const QString name = fnames(source);
    if (name.isEmpty()) {
        // The root has no name to give an archive, and packing it would take the whole phone.
        messages.show(CN("The root folder cannot be packed"));
        return;
    }
    const QString dest = answer == 0 ? parentFolder(source) : messages.chooseFolder();
    if (dest.isEmpty())
        return;
    const QString archive = joinPath(dest, name + "." + archiveExtension(archiveType));
    const bool replace = entryExists(archive);
    if (!messages.mayReplace(archive))
        return;
    const CommandResult result = packBeside(archive, replace, parentFolder(source), name + "/");
    messages.list(dest);
    messages.report(result, CN("success"), name);
}

ArchiveTool unpackingTool(FileKind kind)
{
    return kind == FileKind::RarArchive   ? ArchiveTool::Unrar
           : kind == FileKind::ZipArchive ? ArchiveTool::Unzip
                                          : ArchiveTool::Tar;
}

void unpackArchive(const MessageLayer& messages, const QString& archive, ArchiveTool tool, const QString& target)
{
    const QString name = fnames(archive);
    if (tool == ArchiveTool::Unrar)
        unpackAsked(messages, CN("Extract RAR archive   [") + name + CN("] to this dir"), archive, target, tool);
    else if (tool == ArchiveTool::Unzip)
        unpackAsked(messages, CN("Extract ZIP archive   [") + name + CN("] to this dir"), archive, target, tool);
    else
        unpackWithTar(messages, archive, target);
}
