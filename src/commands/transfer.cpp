#include "commands/transfer.h"

#include "app/text.h"
#include "commands/message_layer.h"
#include "commands/paths.h"
#include "commands/runner.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

QString commandFor(Transfer operation, const QString& source, const QString& destFolder)
{
    switch (operation) {
    case Transfer::Copy:
        return "/bin/cp -r " + quoted(source) + " " + quoted(destFolder);
    case Transfer::Move:
        return "/bin/mv " + quoted(source) + " " + quoted(destFolder);
    case Transfer::Delete:
        break;
    }
    return "/bin/rm -f -r " + quoted(source);
}

TransferPlan refused(const QString& why)
{
    TransferPlan plan;
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
            return refused("[" + name + CN("] no longer exists"));
        TransferPlan plan;
        plan.verdict = TransferPlan::Run;
        plan.command = commandFor(operation, source, destFolder);
        return plan;
    }

    const QString target = joinPath(destFolder, name);
    const QFileInfo sourceInfo(source);
    const QString realSource = canonical(source);
    const QString realDest = canonical(destFolder);
    const bool targetExists = entryExists(target);
    const QString realTarget = targetExists ? canonical(target) : QString();
    if (realDest == canonical(parentFolder(source)))
        return refused("[" + name + CN("] is already in [") + destFolder + "]");
    if (sourceInfo.isDir() && !sourceInfo.isSymLink() && isInside(realDest, realSource))
        return refused("[" + name + (operation == Transfer::Move ? CN("] cannot be moved into itself")
                                                                 : CN("] cannot be copied into itself")));
    // Replacing the other name of the same file would destroy it.
    if (!realTarget.isEmpty() && realTarget == realSource)
        return refused("[" + name + CN("] is already in [") + destFolder + "]");
    // Removing the old entry would take the source with it.
    if (!realTarget.isEmpty() && isInside(realSource, realTarget))
        return refused("[" + target + CN("] holds [") + name + CN("] and cannot be replaced by it"));

    TransferPlan plan;
    plan.target = target;
    plan.command = commandFor(operation, source, destFolder);
    plan.verdict = targetExists ? TransferPlan::AskReplace : TransferPlan::Run;
    if (targetExists)
        // cp -r and mv would put a folder inside the old one of the same name: remove it first.
        plan.command = "/bin/rm -f -r " + quoted(target) + " && " + plan.command;
    return plan;
}

bool runBatch(const MessageLayer& messages, Transfer operation, const QStringList& sources,
              const QString& destFolder, const QString& doneText)
{
    QList<TransferPlan> plans;
    QStringList inTheWay;
    for (const QString& source : sources) {
        plans << planTransfer(operation, source, destFolder);
        if (plans.last().verdict == TransferPlan::AskReplace)
            inTheWay << fnames(source);
    }
    bool replace = false;
    if (!inTheWay.isEmpty()) {
        const MessageLayer::ReplaceAnswer answer = messages.askReplace(inTheWay, destFolder);
        if (answer == MessageLayer::Cancel)
            return false;
        replace = answer == MessageLayer::Replace;
    }

    QStringList failures;
    for (int i = 0; i < sources.size(); ++i) {
        const TransferPlan& plan = plans.at(i);
        const QString name = fnames(sources.at(i));
        if (plan.verdict == TransferPlan::Refuse) {
            failures << plan.refusal;
            continue;
        }
        if (plan.verdict == TransferPlan::AskReplace && !replace)
            continue;  // kept as it was, as the user chose
        const CommandResult result = runCommand(plan.command);
        if (!result.succeeded())
            failures << "[" + name + CN("] failed: ") + result.failureText(1);
    }
    messages.show(failures.isEmpty() ? doneText : failures.join("\n"));
    return failures.isEmpty();
}
