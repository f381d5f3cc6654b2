#pragma once

#include <QString>
#include <QStringList>

#include "commands/runner.h"

class MessageLayer;

// The operation codes the multi-file and result windows hand over.
enum class Transfer { Copy = 1, Move = 2, Delete = 3 };

// What a copy, move or delete of one entry comes to, decided before anything runs.
struct TransferPlan {
    enum Verdict { Run, AskReplace, Refuse };
    Verdict verdict = Refuse;
    QString command;  // for AskReplace: what runs once the user agreed
    QString refusal;  // why nothing runs, in the user's words
    QString source;
    QString target;   // where the entry lands; empty for delete
    QStringList scratch;  // hidden names beside the target that the command writes under
};

// Nothing is replaced without asking, a folder never goes into itself or into the folder
// it is already in, and an entry that vanished is not reported deleted.
TransferPlan planTransfer(Transfer operation, const QString& source, const QString& destFolder);

// Runs the plan's command, showing in the progress of a batch where there is one. A delete
// succeeds only when the entry was there when it ran and is gone after it.
CommandResult runTransfer(const TransferPlan& plan, BusyProgress* progress = nullptr);

// True for anything that holds the name, a link that leads nowhere included.
bool entryExists(const QString& path);

// One command per entry into one destination (none for delete): asks once before a delete
// and once about the entries already there, refuses per entry what the rules refuse, shows
// how far it has come, and reports once. False when the user cancelled: nothing ran.
bool runBatch(const MessageLayer& messages, Transfer operation, const QStringList& sources,
              const QString& destFolder, const QString& doneText);
