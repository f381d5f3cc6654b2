#include "fuzz.h"

#include "commands/archives.h"
#include "commands/runner.h"

// A member name as tar writes it in a message: control characters and backslashes escaped.
static QString inMessage(const QByteArray& name)
{
    QByteArray text;
    for (const char c : name)
        text += c == '\\' || uchar(c) < 0x20 || c == 0x7f ? "\\" + QByteArray::number(uchar(c), 8).rightJustified(3, '0') : QByteArray(1, c);
    return QString::fromUtf8(text);
}

// Input: member names, each after a byte that picks tar's message about it. Only a run of
// refusals reads as members refused, whatever the names hold.
void fuzzOne(const QByteArray& input)
{
    static const char* const messages[] = {"%1: Member name contains '..'", "Removing leading `%1' from member names",
                                           "%1: Cannot open: Permission denied", "%1: Cannot utime", "Unexpected EOF in archive"};
    CommandResult result;
    bool refusals = true;
    for (const QByteArray& piece : input.split('\0')) {
        const int kind = choice(piece) % 5;
        result.errorOutput += "tar: " + QString(messages[kind]).arg(inMessage(piece.mid(1))) + "\n";
        refusals = refusals && kind < 2;
    }
    check(onlyMembersRefused(ArchiveTool::Tar, result) == refusals, "refused members told apart from failures");
}
