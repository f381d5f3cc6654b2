#include "core/desktop_entries.h"

#include <QTest>

class DesktopEntriesTest : public QObject
{
    Q_OBJECT
private slots:
    // An Exec line (its string escapes already undone) as the arguments a program gets.
    void execLineToArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");  // @ is the path, # its URL
        QTest::newRow("quotes and their escapes, no file code: the path last")
            << "\"my prog\"  \"say \\\"hi\\\" \\$HOME \\`x\\` \\\\ \\n\" a\"b c\"d \"\""
            << QStringList{"my prog", "say \"hi\" $HOME `x` \\ \\n", "ab cd", "", "@"};
        QTest::newRow("field codes") << "prog %i %c -k%k --x=%f %% %U %F" << QStringList{"prog", "-k", "--x=@", "%", "#", "@"};
        QTest::newRow("an open quote") << "prog \"a" << QStringList();
        QTest::newRow("only dropped codes") << "%i %c" << QStringList();
    }
    void execLineToArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, arguments);
        const QString path = "/card/it's a b%.png";
        arguments.replaceInStrings("@", path).replaceInStrings("#", "file:///card/it's%20a%20b%25.png");
        QCOMPARE(withFile(execArguments(exec), path), arguments);
    }
};

QTEST_MAIN(DesktopEntriesTest)
#include "tst_desktop_entries.moc"
