#include "commands/transfer.h"

#include "core/text.h"
#include "commands/message_layer.h"
#include "core/paths.h"
#include "commands/runner.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// Hidden names beside the target, unique in this run of the program.
QString scratchName(const QString& destFolder, const char* kind)
{
    static int counter = 0;
    return joinPath(destFolder, QStringLiteral(".kestrel-%1-%2-%3").arg(QLatin1String(kind)).arg(::getpid()).arg(++counter));
}

// A copy is made under a hidden name and renamed into place only when complete, so a full
// card never leaves a cut copy under the real name. A replace keeps the old entry until the
// new one stands beside it, then swaps the two by renames.
QString commandFor(Transfer operation, const QString& source, const QString& destFolder, bool replace,
                   QStringList* scratch)
{
    if (operation == Transfer::Delete)
        return "/bin/rm -f -r " + quoted(source);
    const QString target = quoted(joinPath(destFolder, fnames(source)));
    const bool copy = operation == Transfer::Copy;
    if (!copy && !replace)
        return "/bin/mv " + quoted(source) + " " + quoted(destFolder);
    *scratch << scratchName(destFolder, "new") << scratchName(destFolder, "old");
    const QString fresh = quoted(scratch->at(0));
    // What undoes the first step: a cut copy is removed, a moved entry goes back.
    const QString undo = copy ? "/bin/rm -f -r " + fresh : "/bin/mv -T " + fresh + " " + quoted(source);
    const QString firstStep = copy ? "/bin/cp -r " + quoted(source) + " " + fresh + " || { /bin/rm -f -r " + fresh + "; exit 1; }; "
                                   : "/bin/mv -T " + quoted(source) + " " + fresh + " || exit 1; ";
    if (!replace)
        return firstStep + "/bin/mv -T " + fresh + " " + target + " || { " + undo + "; exit 1; }";
    const QString old = quoted(scratch->at(1));
    return firstStep + "/bin/mv -T " + target + " " + old + " || { " + undo + "; exit 1; }; " + "/bin/mv -T " + fresh
           + " " + target + " || { /bin/mv -T " + old + " " + target + "; " + undo + "; exit 1; }; /bin/rm -f -r " + old;
}

TransferPlan refused(const QString& source, const QString& why)
{
    TransferPlan plan;
    plan.source = source;
    plan.refusal = why;
    return plan;
}

}  // namespace

bool entryExists(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

TransferPlan planTransfer(Transfer operation, const QString& source, const QString& destFolder)
{
    const QString name = fnames(source);
    if (operation == Transfer::Delete) {
        // rm -f would call a vanished entry deleted.
        if (!entryExists(source))
            return refused(source, "[" + name + CN("] no longer exists"));
        TransferPlan plan;
        plan.verdict = TransferPlan::Run;
        plan.source = source;
        plan.command = commandFor(operation, source, destFolder, false, &plan.scratch);
        return plan;
    }

    const QString target = joinPath(destFolder, name);
    const QFileInfo sourceInfo(source);
    const QString realSource = canonical(source);
    const QString realDest = canonical(destFolder);
    const bool targetExists = entryExists(target);
    const QString realTarget = targetExists ? canonical(target) : QString();
    if (realDest == canonical(parentFolder(source)))
        return refused(source, "[" + name + CN("] is already in [") + destFolder + "]");
    if (sourceInfo.isDir() && !sourceInfo.isSymLink() && isInside(realDest, realSource))
        return refused(source, "[" + name + (operation == Transfer::Move ? CN("] cannot be moved into itself")
                                                                 : CN("] cannot be copied into itself")));
    // Replacing the other name of the same file would destroy it.
    if (!realTarget.isEmpty() && realTarget == realSource)
        return refused(source, "[" + name + CN("] is already in [") + destFolder + "]");
    // Removing the old entry would take the source with it.
    if (!realTarget.isEmpty() && isInside(realSource, realTarget))
        return refused(source, "[" + target + CN("] holds [") + name + CN("] and cannot be replaced by it"));

    TransferPlan plan;
    plan.source = source;
    plan.target = target;
    plan.command = commandFor(operation, source, destFolder, targetExists, &plan.scratch);
    plan.verdict = targetExists ? TransferPlan::AskReplace : TransferPlan::Run;
    return plan;
}

CommandResult runTransfer(const TransferPlan& plan, BusyProgress* progress)
{
    const bool isDelete = plan.target.isEmpty();
    // The card may have been pulled while the user was asked.
    if (isDelete && !entryExists(plan.source))
        return CommandResult::failedWith(QStringLiteral("it no longer exists"));
    CommandResult result = runCommand(plan.command, progress);
    if (isDelete && result.succeeded() && entryExists(plan.source))
        return CommandResult::failedWith(QStringLiteral("it is still there"));
    // The user knows the entry by its own name, not by the hidden one it was written under.
    for (const QString& hidden : plan.scratch)
        result.errorOutput.replace(hidden, plan.target);
    return result;
}

namespace {

// What a batch came to: how many entries went through, those kept as the user chose, and
// the failures and refusals, in order.
struct BatchOutcome {
    int done = 0;
    QStringList skipped;
    QStringList failures;
};

// One command per plan, showing how far it has come.
BatchOutcome runPlans(const QList<TransferPlan>& plans, bool replace)
{
    BatchOutcome outcome;
    BusyProgress progress;  // made after the question and gone before the report
    for (int i = 0; i < plans.size(); ++i) {
        const TransferPlan& plan = plans.at(i);
        const QString name = fnames(plan.source);
        if (plan.verdict == TransferPlan::Refuse) {
            outcome.failures << plan.refusal;
            continue;
        }
        if (plan.verdict == TransferPlan::AskReplace && !replace) {
            outcome.skipped << name;  // kept as it was, as the user chose
            continue;
        }
        progress.step(QStringLiteral("%1 / %2: %3").arg(i + 1).arg(plans.size()).arg(name));
        const CommandResult result = runTransfer(plan, &progress);
        if (result.succeeded())
            ++outcome.done;
        else
            outcome.failures << "[" + name + CN("] failed: ") + result.failureText(1);
    }
    return outcome;
}

// The done text only when every entry went through; a skip is told with what was done.
QString reportOf(const BatchOutcome& outcome, Transfer operation, const QString& doneText)
{
    QStringList lines;
    if (!outcome.skipped.isEmpty()) {
        const char* done = operation == Transfer::Copy ? " copied, " : operation == Transfer::Move ? " moved, " : " deleted, ";
        lines << QString::number(outcome.done) + CN(done) + QString::number(outcome.skipped.size()) + CN(" skipped: ")
                     + firstNames(outcome.skipped);
    }
    lines << outcome.failures;
    return lines.isEmpty() ? doneText : lines.join("\n");
}

// One question before anything is deleted, naming how many entries and the first of them.
bool mayDelete(const MessageLayer& messages, const QStringList& sources)
{
    QStringList names;
    for (const QString& source : sources)
        names << fnames(source);
    if (names.size() == 1)
        return messages.ask(CN("want to delete?    [") + names.first() + CN("]\nremove can't reverse!")) == 0;
    return messages.ask(CN("Delete ") + QString::number(names.size()) + CN(" entries? ") + firstNames(names)) == 0;
}

}  // namespace

bool runBatch(const MessageLayer& messages, Transfer operation, const QStringList& sources,
              const QString& destFolder, const QString& doneText)
{
    if (operation == Transfer::Delete && !sources.isEmpty() && !mayDelete(messages, sources))
        return false;
    QList<TransferPlan> plans;
    QStringList inTheWay;
    QSet<QString> targets;
    for (const QString& source : sources) {
        TransferPlan plan = planTransfer(operation, source, destFolder);
        // Entries of one name from several folders would land on one another: the first goes.
        if (plan.verdict != TransferPlan::Refuse && !plan.target.isEmpty() && targets.contains(plan.target))
            plan = refused(source, "[" + fnames(source) + CN("] has the name of another entry going there"));
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

    messages.show(reportOf(runPlans(plans, replace), operation, doneText));
    return true;
}
