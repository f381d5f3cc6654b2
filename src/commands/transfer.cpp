#include "commands/transfer.h"

#include "commands/entry_bytes.h"
#include "commands/job.h"
#include "commands/message_layer.h"
#include "commands/trash.h"
#include "core/paths.h"
#include "core/text.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <functional>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

TransferPlan refused(Transfer operation, const QString& source, const QString& why)
{
    TransferPlan plan;
    plan.operation = operation;
    plan.source = source;
    plan.refusal = why;
    return plan;
}

QByteArray bytesOf(const QString& path)
{
    return QFile::encodeName(path);
}

// The first line of a program's error output that speaks of path, else its first line.
QString errorLineAbout(const QString& errorOutput, const QString& path)
{
    const QStringList lines = errorOutput.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        if (line.contains(path))
            return line;
    return lines.value(0);
}

// One answer per folder for a whole batch: a thousand entries of one folder ask the file system
// once, not a thousand times.
class PerFolder
{
public:
    explicit PerFolder(std::function<QString(const QString& folder)> find) : find(std::move(find)) {}
    QString of(const QString& folder)
    {
        auto found = known.constFind(folder);
        if (found == known.cend())
            found = known.insert(folder, find(folder));
        return *found;
    }

private:
    std::function<QString(const QString&)> find;
    QHash<QString, QString> known;
};

// The trash of a folder's entries; with create, it is made where it is not there yet.
PerFolder trashesOfFolders(bool create)
{
    return PerFolder([create](const QString& folder) { return trashFor(QFile::encodeName(folder), create); });
}

// One entry of a job, with what the user agreed to.
struct Entry {
    QString source;
    QString target;
    bool mayReplace = false;  // the user was asked about the entry at the target and agreed
    bool toTrash = false;     // a delete that the trash can take back
    QString name() const { return fnames(source); }
};

// Runs the entries of one operation as one job: whatever is stopped or fails, an entry is either
// wholly done or left as it was, and every entry is told in the report.
class TransferJob
{
public:
    TransferJob(Transfer operation, const QList<Entry>& entries) : operation(operation), entries(entries) {}

    void run();

    int done = 0;
    QStringList notDone;   // left as they were by Stop
    QList<QPair<QString, QString>> failures;  // name and why
    QStringList kept;      // appeared at the target meanwhile
    QList<TrashedEntry> trashed;  // what went to the trash, for Undo
    PerFolder trashes = trashesOfFolders(true);
    bool stopped() const { return job.stopped(); }

private:
    void deleteChunk(const QList<Entry>& chunk);
    void moveToTrash(const Entry& entry);
    void copyChunk(const QList<Entry>& chunk, bool removeSources);
    void copyAlone(const Entry& entry, const QByteArray& scratch, bool removeSources);
    bool moveByRename(const Entry& entry);
    void place(const Entry& entry, const QByteArray& scratch, bool removeSources);
    void fail(const Entry& entry, const QString& why) { failures.append({entry.name(), why}); }
    QList<QList<Entry>> chunksOf(const QList<Entry>& list) const;

    Transfer operation;
    QList<Entry> entries;
    Job job;
    qint64 bytesPlaced = 0;
    int handled = 0;  // entries done, failed or kept so far
};

// As many entries as one command line holds, with room to spare for the environment.
QList<QList<Entry>> TransferJob::chunksOf(const QList<Entry>& list) const
{
    const long budget = qMax(16384L, ::sysconf(_SC_ARG_MAX) / 4);
    QList<QList<Entry>> chunks;
    long used = budget;
    for (const Entry& entry : list) {
        const long cost = long(bytesOf(entry.source).size()) + 1 + long(sizeof(char*));
        if (used + cost > budget) {
            chunks.append(QList<Entry>());
            used = 0;
        }
        chunks.last() << entry;
        used += cost;
    }
    return chunks;
}

void TransferJob::run()
{
    QList<Entry> toCopy;
    if (operation == Transfer::Move) {
        // A move within one file system is a rename; across file systems it is a copy.
        job.setTotal(entries.size(), 0);
        for (const Entry& entry : entries) {
            job.progress(handled, 0, entry.name());
            if (job.stopped())
                notDone << entry.name();
            else if (!moveByRename(entry))
                toCopy << entry;
        }
    } else if (operation == Transfer::Copy) {
        toCopy = entries;
    }
    if (operation == Transfer::Delete) {
        job.setTotal(entries.size(), 0);
        QList<Entry> forGood;
        for (const Entry& entry : entries)
            if (entry.toTrash)
                moveToTrash(entry);
            else
                forGood << entry;
        for (const QList<Entry>& chunk : chunksOf(forGood))
            deleteChunk(chunk);
        return;
    }
    if (toCopy.isEmpty())
        return;
    QStringList sources;
    for (const Entry& entry : toCopy)
        sources << entry.source;
    job.show(CN("Measuring..."));
    job.setTotal(entries.size(), measureTrees(sources, &job).bytes);
    for (const QList<Entry>& chunk : chunksOf(toCopy))
        copyChunk(chunk, operation == Transfer::Move);
}

// One rm for the chunk, then each entry is checked: an entry is deleted only when it is gone.
void TransferJob::deleteChunk(const QList<Entry>& chunk)
{
    QStringList arguments{"/bin/rm", "-r", "-f", "--"};
    QList<Entry> present;
    for (const Entry& entry : chunk) {
        // The card may have been pulled while the user was asked; rm -f would call it deleted.
        if (job.stopped())
            notDone << entry.name();
        else if (!entryExists(entry.source))
            fail(entry, CN("it no longer exists"));
        else {
            present << entry;
            arguments << entry.source;
        }
    }
    if (present.isEmpty())
        return;
    job.progress(handled, 0, present.first().name());
    ProgramOptions options;
    options.fixedLocale = true;
    options.measure = [&](bool) {
        int gone = 0;
        QString current;
        for (const Entry& entry : present)
            if (!entryExists(entry.source))
                ++gone;
            else if (current.isEmpty())
                current = entry.name();
        job.progress(handled + gone, 0, current);
    };
    const CommandResult result = job.run(arguments, options);
    for (const Entry& entry : present) {
        ++handled;
        if (!entryExists(entry.source))
            ++done;
        else if (job.stopped())
            notDone << entry.name();
        else if (!result.started)
            fail(entry, result.failureText(1));
        else if (const QString line = errorLineAbout(result.errorOutput, entry.source); !line.isEmpty())
            fail(entry, line);
        else
            fail(entry, CN("it is still there"));
    }
}

// A rename into the trash of the entry's own file system, with its record.
void TransferJob::moveToTrash(const Entry& entry)
{
    job.progress(handled, 0, entry.name());
    if (job.stopped()) {
        notDone << entry.name();
        return;
    }
    ++handled;
    TrashedEntry record;
    const QString trash = trashes.of(parentFolder(entry.source));
    const int error = trash.isEmpty() ? EACCES : ::moveToTrash(bytesOf(entry.source), trash, &record);
    if (error == ENOENT)
        fail(entry, CN("it no longer exists"));
    else if (error != 0)
        fail(entry, errorText(error));
    else {
        ++done;
        trashed << record;
    }
}

// Within one file system the entry is renamed into place, false when it is on another.
bool TransferJob::moveByRename(const Entry& entry)
{
    const QByteArray from = bytesOf(entry.source);
    bool swapped = false;
    int error = putInPlace(from, bytesOf(entry.target), entry.mayReplace, &swapped);
    if (error == EXDEV)
        return false;
    // The old entry now stands where the source stood.
    if (swapped && (error = removeTree(from)) != 0) {
        ++handled;
        fail(entry, CN("the replaced entry stays in [") + parentFolder(entry.source) + "]: " + errorText(error));
        return true;
    }
    ++handled;
    if (error == 0)
        ++done;
    else if (error == EEXIST)
        kept << "[" + entry.name() + CN("] appeared meanwhile and was kept");
    else
        fail(entry, errorText(error));
    job.progress(handled, 0, entry.name());
    return true;
}

// Puts a finished copy in place: never onto an entry the user was not asked about, and an
// approved replace swaps the two before the old one goes. A move's source goes only once its
// copy stands in place.
void TransferJob::place(const Entry& entry, const QByteArray& scratch, bool removeSources)
{
    const QByteArray copy = scratch + '/' + bytesOf(entry.name());
    const QByteArray target = bytesOf(entry.target);
    const qint64 size = measureTrees({QFile::decodeName(copy)}).bytes;
    ++handled;
    bool swapped = false;
    int error = putInPlace(copy, target, entry.mayReplace, &swapped);
    if (swapped)
        error = removeTree(copy);  // the old entry, now in the scratch, which goes anyway
    if (error == EEXIST) {
        kept << "[" + entry.name() + CN("] appeared meanwhile and was kept");
        return;
    }
    if (error == 0 && removeSources)
        error = removeTree(bytesOf(entry.source));
    if (error != 0) {
        fail(entry, errorText(error));
        return;
    }
    ++done;
    bytesPlaced += size;
    job.progress(handled, bytesPlaced, entry.name());
}

// One cp for the chunk into a hidden folder beside the targets. Each entry cp has finished is
// put in place while it goes on with the next; after a failure the entries not yet placed are
// copied one by one, so that each one's fate is known.
void TransferJob::copyChunk(const QList<Entry>& chunk, bool removeSources)
{
    if (job.stopped()) {
        for (const Entry& entry : chunk)
            notDone << entry.name();
        return;
    }
    QByteArray scratch = bytesOf(joinPath(parentFolder(chunk.first().target), ".kestrel-copy-XXXXXX"));
    if (!::mkdtemp(scratch.data())) {
        for (const Entry& entry : chunk)
            fail(entry, CN("cannot write into [") + parentFolder(entry.target) + "]: " + errorText(errno));
        return;
    }
    QStringList arguments{"/bin/cp", "-r", "--"};
    for (const Entry& entry : chunk)
        arguments << entry.source;
    arguments << QFile::decodeName(scratch);
    int next = 0;  // the first entry not yet placed
    WrittenSoFar written(QFile::decodeName(scratch));
    ProgramOptions options;
    options.fixedLocale = true;
    options.measure = [&](bool errorsSoFar) {
        int last = next;  // the newest entry cp has begun
        while (last + 1 < chunk.size() && entryExists(QFile::decodeName(scratch + '/' + bytesOf(chunk.at(last + 1).name()))))
            ++last;
        job.progress(handled, bytesPlaced + written.total().bytes, chunk.at(last).name());
        while (!errorsSoFar && next < last && !job.stopped())
            place(chunk.at(next++), scratch, removeSources);
    };
    const CommandResult result = job.run(arguments, options);
    if (result.succeeded()) {
        while (next < chunk.size() && !job.stopped())
            place(chunk.at(next++), scratch, removeSources);
    } else if (!job.stopped() && chunk.size() - next == 1) {
        fail(chunk.at(next++), result.failureText(1).replace(QFile::decodeName(scratch), parentFolder(chunk.first().target)));
    } else {
        for (int i = next; i < chunk.size(); ++i)
            removeTree(scratch + '/' + bytesOf(chunk.at(i).name()), true);
        while (next < chunk.size() && !job.stopped())
            copyAlone(chunk.at(next++), scratch, removeSources);
    }
    for (; next < chunk.size(); ++next)
        notDone << chunk.at(next).name();
    removeTree(scratch, true);
}

void TransferJob::copyAlone(const Entry& entry, const QByteArray& scratch, bool removeSources)
{
    WrittenSoFar written(QFile::decodeName(scratch));
    ProgramOptions options;
    options.fixedLocale = true;
    options.measure = [&](bool) { job.progress(handled, bytesPlaced + written.total().bytes, entry.name()); };
    CommandResult result = job.run({"/bin/cp", "-r", "--", entry.source, QFile::decodeName(scratch)}, options);
    if (result.succeeded())
        place(entry, scratch, removeSources);
    else if (!job.stopped()) {
        ++handled;
        fail(entry, result.failureText(1).replace(QFile::decodeName(scratch), parentFolder(entry.target)));
    } else
        notDone << entry.name();
}

// The done text only when every entry went through; a skip or a Stop is told with what was done.
QString reportOf(const TransferJob& run, int asked, const QStringList& skipped, const QStringList& refusals,
                 Transfer operation, const QString& doneText)
{
    const char* verb = operation == Transfer::Copy ? " copied" : operation == Transfer::Move ? " moved" : " deleted";
    QStringList lines;
    if (run.stopped())
        lines << CN("Stopped: ") + QString::number(run.done) + CN(" of ") + QString::number(asked) + CN(verb)
                     + (run.notDone.isEmpty() ? QString() : CN(", not done: ") + firstNames(run.notDone));
    if (!skipped.isEmpty())
        lines << QString::number(run.done) + CN(verb) + ", " + QString::number(skipped.size()) + CN(" skipped: ")
                     + firstNames(skipped);
    for (const auto& [name, why] : run.failures)
        lines << "[" + name + CN("] failed: ") + why;
    lines << refusals << run.kept;
    return lines.isEmpty() ? doneText : lines.join("\n");
}

// One question before anything is deleted, naming how many entries and the first of them, and
// those that no trash can take, which go for good.
bool mayDelete(const MessageLayer& messages, const QStringList& sources, const QStringList& forGood)
{
    QStringList names;
    for (const QString& source : sources)
        names << fnames(source);
    if (names.size() == 1)
        return messages.ask(CN("want to delete?    [") + names.first()
                            + (forGood.isEmpty() ? CN("]\nit goes to the Trash") : CN("]\nremove can't reverse!")))
               == 0;
    QStringList lost;
    for (const QString& source : forGood)
        lost << fnames(source);
    return messages.ask(CN("Delete ") + QString::number(names.size()) + CN(" entries? ") + firstNames(names)
                        + (lost.isEmpty() ? CN("\nthey go to the Trash") : CN("\nremoved for good, can't reverse: ") + firstNames(lost)))
           == 0;
}

// Undo puts back exactly what the delete moved to the trash; an entry whose place was taken
// meanwhile stays in the trash.
QString undoneText(const QList<TrashedEntry>& trashed)
{
    QStringList failures;
    for (const TrashedEntry& entry : trashed) {
        if (const int error = restoreFromTrash(entry, false); error != 0)
            failures << notRestoredText(entry, error);
    }
    return failures.isEmpty() ? CN("Undone") : failures.join("\n");
}

}  // namespace

bool entryExists(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

namespace {

TransferPlan planOne(Transfer operation, const QString& source, const QString& destFolder, PerFolder& realFolders)
{
    const QString name = fnames(source);
    struct stat sourceInfo;
    const bool sourceExists = ::lstat(bytesOf(source).constData(), &sourceInfo) == 0;
    if (operation == Transfer::Delete) {
        // rm -f would call a vanished entry deleted.
        if (!sourceExists)
            return refused(operation, source, "[" + name + CN("] no longer exists"));
        TransferPlan plan;
        plan.verdict = TransferPlan::Run;
        plan.operation = operation;
        plan.source = source;
        return plan;
    }

    const QString target = joinPath(destFolder, name);
    const QString realDest = realFolders.of(destFolder);
    if (realDest == realFolders.of(parentFolder(source)))
        return refused(operation, source, "[" + name + CN("] is already in [") + destFolder + "]");
    if (sourceExists && S_ISDIR(sourceInfo.st_mode) && isInside(realDest, canonical(source)))
        return refused(operation, source, "[" + name + (operation == Transfer::Move ? CN("] cannot be moved into itself")
                                                                            : CN("] cannot be copied into itself")));
    const bool targetExists = entryExists(target);
    if (targetExists) {
        const QString realSource = canonical(source), realTarget = canonical(target);
        // Replacing the other name of the same file would destroy it.
        if (!realTarget.isEmpty() && realTarget == realSource)
            return refused(operation, source, "[" + name + CN("] is already in [") + destFolder + "]");
        // Removing the old entry would take the source with it.
        if (!realTarget.isEmpty() && isInside(realSource, realTarget))
            return refused(operation, source, "[" + target + CN("] holds [") + name + CN("] and cannot be replaced by it"));
    }

    TransferPlan plan;
    plan.operation = operation;
    plan.source = source;
    plan.target = target;
    plan.verdict = targetExists ? TransferPlan::AskReplace : TransferPlan::Run;
    return plan;
}

}  // namespace

TransferPlan planTransfer(Transfer operation, const QString& source, const QString& destFolder)
{
    PerFolder realFolders(canonical);
    return planOne(operation, source, destFolder, realFolders);
}

CommandResult runTransfer(const TransferPlan& plan, bool replace)
{
    if (plan.verdict == TransferPlan::Refuse)
        return CommandResult::failedWith(plan.refusal);
    TransferJob run(plan.operation, {Entry{plan.source, plan.target, replace && plan.verdict == TransferPlan::AskReplace}});
    run.run();
    if (run.stopped() && run.done == 0) {
        CommandResult stopped = CommandResult::failedWith(CN("it was left as it was"));
        stopped.stopped = true;
        return stopped;
    }
    if (!run.failures.isEmpty())
        return CommandResult::failedWith(run.failures.first().second);
    if (!run.kept.isEmpty())
        return CommandResult::failedWith(run.kept.first());
    return CommandResult::done();
}

bool runBatch(const MessageLayer& messages, Transfer operation, const QStringList& sources,
              const QString& destFolder, const QString& doneText)
{
    QStringList forGood;
    PerFolder trashes = trashesOfFolders(false);
    if (operation == Transfer::Delete) {
        for (const QString& source : sources)
            if (trashes.of(parentFolder(source)).isEmpty())
                forGood << source;
        if (!sources.isEmpty() && !mayDelete(messages, sources, forGood))
            return false;
    }
    QList<TransferPlan> plans;
    QStringList inTheWay;
    QSet<QString> targets;
    PerFolder realFolders(canonical);
    for (const QString& source : sources) {
        TransferPlan plan = planOne(operation, source, destFolder, realFolders);
        // Entries of one name from several folders would land on one another: the first goes.
        if (plan.verdict != TransferPlan::Refuse && !plan.target.isEmpty() && targets.contains(plan.target))
            plan = refused(operation, source, "[" + fnames(source) + CN("] has the name of another entry going there"));
        targets.insert(plan.target);
        if (plan.verdict == TransferPlan::AskReplace)
            inTheWay << fnames(source);
        plans << plan;
    }
    bool replace = false;
    if (!inTheWay.isEmpty()) {
        const MessageLayer::ReplaceAnswer answer = messages.askReplace(inTheWay, destFolder);
        if (answer == MessageLayer::Cancel)
            return false;
        replace = answer == MessageLayer::Replace;
    }

    QList<Entry> entries;
    QStringList skipped, refusals;
    for (const TransferPlan& plan : plans) {
        if (plan.verdict == TransferPlan::Refuse)
            refusals << plan.refusal;
        else if (plan.verdict == TransferPlan::AskReplace && !replace)
            skipped << fnames(plan.source);  // kept as it was, as the user chose
        else
            entries << Entry{plan.source, plan.target, plan.verdict == TransferPlan::AskReplace,
                             operation == Transfer::Delete && !trashes.of(parentFolder(plan.source)).isEmpty()};
    }
    QString report;
    QList<TrashedEntry> trashed;
    {
        TransferJob run(operation, entries);  // made after the question and gone before the report
        run.run();
        report = reportOf(run, entries.size(), skipped, refusals, operation, doneText);
        trashed = run.trashed;
    }
    if (trashed.isEmpty())
        messages.show(report);
    else if (messages.offer(report, CN("Undo")))
        messages.show(undoneText(trashed));
    return true;
}
