#include "fuzz.h"

#include "commands/runner.h"
#include "core/desktop_entries.h"

namespace {

// The shell's reading of a word made of '...' pieces and backslash escapes; null for any
// character the shell would take as more than text.
QString shellWord(const QString& word)
{
    QString text;
    for (int i = 0; i < word.size(); ++i) {
        const qsizetype closing = word.indexOf('\'', i + 1);
        if (word[i] == '\'' && closing > i) {
            text += word.mid(i + 1, closing - i - 1);
            i = int(closing);
        } else if (word[i] == '\\' && i + 1 < word.size()) {
            text += word[++i];
        } else {
            return QString();
        }
    }
    return text;
}

}  // namespace

// Input: an Exec line, then a file name. The name reaches the shell as exactly one word of
// its own bytes, and an Exec line puts it only where its field codes stand, each argument whole.
void fuzzOne(const QByteArray& input)
{
    const QString name = QString::fromUtf8(part(input, 1));
    check(name.isEmpty() || shellWord(quoted(name)) == name, "a quoted name is one word");
    const QList<QStringList> arguments = execArguments(QString::fromUtf8(part(input, 0)));
    check(withFile(arguments, name).size() == arguments.size(), "the file cuts no argument");
    for (const QStringList& pieces : arguments)
        for (int i = 1; i < pieces.size(); i += 2)
            check(pieces.size() % 2 == 1 && (pieces[i] == "f" || pieces[i] == "u"), "the file only at field codes");
}
