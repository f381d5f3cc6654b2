#include "fuzz.h"

#include "commands/runner.h"
#include "core/desktop_entries.h"

// Input: an Exec line, then a file name. The name reaches the shell as one word of its own
// text, and an Exec line puts it only where its field codes stand, each argument whole.
void fuzzOne(const QByteArray& input)
{
    const QString name = QString::fromUtf8(part(input, 1));
    // The shell reads '...' pieces joined by \' as their text; a piece holding ' would end early.
    const QString word = quoted(name);
    const QStringList pieces = word.mid(1, word.size() - 2).split("'\\''");
    check(word.startsWith('\'') && word.endsWith('\'') && pieces.join('\'') == name && !pieces.join("").contains('\''),
          "a quoted name is one word");
    const QList<QStringList> arguments = execArguments(QString::fromUtf8(part(input, 0)));
    check(withFile(arguments, name).size() == arguments.size(), "the file cuts no argument");
    for (const QStringList& argument : arguments)
        for (int i = 1; i < argument.size(); i += 2)
            check(argument.size() % 2 == 1 && (argument[i] == "f" || argument[i] == "u"), "the file only at field codes");
}
