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
    Transfer operation = Transfer::Copy;
    QString refusal;  // why nothing runs, in the user's words
    QString source;
    QString target;   // where the entry lands; empty for delete
};

// Nothing is replaced without asking, a folder never goes into itself or into the folder
// it is already in, and an entry that vanished is not reported deleted.
TransferPlan planTransfer(Transfer operation, const QString& source, const QString& destFolder);

// Runs one planned entry as a job the user can stop; replace: the user agreed to replace the
// entry the plan found at the target. An entry that appeared there meanwhile is kept.
CommandResult runTransfer(const TransferPlan& plan, bool replace = false);

// True for anything that holds the name, a link that leads nowhere included.
bool entryExists(const QString& path);

// The entries into one destination (none for delete) as one job: asks once before a delete and
// once about the entries already there, refuses per entry what the rules refuse, runs one program
// per chunk of entries, shows how far it has come, can be stopped, and reports once. False when
// the user cancelled: nothing ran.
bool runBatch(const MessageLayer& messages, Transfer operation, const QStringList& sources,
              const QString& destFolder, const QString& doneText);
