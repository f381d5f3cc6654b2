// The command layer: its rules hold without the main window, for any window that uses them.
#include "commands/message_layer.h"
#include "commands/opening.h"
#include "commands/paths.h"
#include "commands/runner.h"
#include "commands/transfer.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

class LayerTest : public QObject
{
    Q_OBJECT
private slots:
    void pathHelpers_data();
    void pathHelpers();
    void nameListsNeverCutAName();
    void transferRules_data();
    void transferRules();
    void batchAsksOnceAndReportsEveryFailure_data();
    void batchAsksOnceAndReportsEveryFailure();
    void secondWindowOpensAnArchiveWithoutAList();
};

void LayerTest::pathHelpers_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("listable");
    QTest::newRow("nested") << "/a/b/c" << "c" << "/a/b" << "/a/b";
    QTest::newRow("trailing slash") << "/a/b/" << "b" << "/a" << "/a";
    QTest::newRow("below root") << "/a" << "a" << QString() << "/";
    QTest::newRow("root") << "/" << QString() << QString() << "/";
    QTest::newRow("empty") << "" << QString() << QString() << "/";
}

void LayerTest::pathHelpers()
{
    QFETCH(QString, path);
    QFETCH(QString, last);
    QFETCH(QString, parent);
    QFETCH(QString, listable);
    QCOMPARE(fnames(path), last);
    QCOMPARE(fnames(path).isNull(), last.isNull());
    QCOMPARE(fname(path), parent);
    QCOMPARE(fname(path).isNull(), parent.isNull());
    QCOMPARE(parentFolder(path), listable);
    QCOMPARE(joinPath("/", "x"), "/x");
    QVERIFY(isInside("/a/b", "/a") && isInside("/a", "/a") && !isInside("/ab", "/a") && isInside("/x", "/"));
}

void LayerTest::nameListsNeverCutAName()
{
    const QString list = joinNameList({"/f/a", "/f/pay$day", "", "/f/b"});
    QCOMPARE(list, "/f/a$/f/b");
    QCOMPARE(splitNameList(list + "$"), QStringList({"/f/a", "/f/b"}));
}

void LayerTest::transferRules_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("expected");  // the command, or the end of the refusal
    const int copy = int(Transfer::Copy), move = int(Transfer::Move), del = int(Transfer::Delete);
    QTest::newRow("copy a file") << copy << "f/a.txt" << "g" << int(TransferPlan::Run) << "/bin/cp -r '@/f/a.txt' '@/g'";
    QTest::newRow("move a folder") << move << "f/sub" << "g" << int(TransferPlan::Run) << "/bin/mv '@/f/sub' '@/g'";
    QTest::newRow("into its own folder") << copy << "f/a.txt" << "f" << int(TransferPlan::Refuse) << "] is already in [@/f]";
    QTest::newRow("folder into itself") << copy << "f/sub" << "f/sub" << int(TransferPlan::Refuse) << "] cannot be copied into itself";
    QTest::newRow("folder below itself") << move << "f/sub" << "f/sub/deep" << int(TransferPlan::Refuse) << "] cannot be moved into itself";
    QTest::newRow("other name of itself") << copy << "f/a.txt" << "h" << int(TransferPlan::Refuse) << "] is already in [@/h]";
    QTest::newRow("replacing what holds it") << move << "f/f" << "." << int(TransferPlan::Refuse) << "] and cannot be replaced by it";
    QTest::newRow("already there") << copy << "f/a.txt" << "g2" << int(TransferPlan::AskReplace)
                                   << "/bin/rm -f -r '@/g2/a.txt' && /bin/cp -r '@/f/a.txt' '@/g2'";
    QTest::newRow("delete") << del << "f/a.txt" << "" << int(TransferPlan::Run) << "/bin/rm -f -r '@/f/a.txt'";
    QTest::newRow("delete a vanished entry") << del << "f/gone" << "" << int(TransferPlan::Refuse) << "] no longer exists";
}

void LayerTest::transferRules()
{
    QFETCH(int, operation);
    QFETCH(QString, source);
    QFETCH(QString, dest);
    QFETCH(int, verdict);
    QFETCH(QString, expected);
    WorkFolder work;
    const QString root = QDir(work.path()).canonicalPath();
    for (const char* folder : {"f/sub/deep", "f/f", "g", "g2"})
        QDir().mkpath(root + "/" + folder);
    makeFile(root + "/f/a.txt", 3);
    makeFile(root + "/g2/a.txt", 5);
    QDir().mkpath(root + "/h");
    QFile::link(root + "/f/a.txt", root + "/h/a.txt");

    const QString destFolder = dest.isEmpty() ? QString() : QDir::cleanPath(root + "/" + dest);
    const TransferPlan plan = planTransfer(Transfer(operation), root + "/" + source, destFolder);
    QCOMPARE(int(plan.verdict), verdict);
    expected.replace("@", root);
    if (verdict == TransferPlan::Refuse)
        QVERIFY2(plan.refusal.endsWith(expected), qPrintable(plan.refusal));
    else
        QCOMPARE(plan.command, expected);
}

void LayerTest::batchAsksOnceAndReportsEveryFailure_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("keptInDest");  // what "b" holds afterwards
    QTest::addColumn<bool>("aCopied");
    QTest::newRow("replace") << "Replace" << QByteArray("new") << true;
    QTest::newRow("skip") << "Skip" << QByteArray("old") << true;
    QTest::newRow("cancel") << "Cancel" << QByteArray("old") << false;
}

void LayerTest::batchAsksOnceAndReportsEveryFailure()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, keptInDest);
    QFETCH(bool, aCopied);
    WorkFolder work;
    work.write("src/a", "a");
    work.write("src/b", "new");
    work.write("dest/b", "old");
    QWidget results;
    const MessageLayer messages(&results, "Dialog_Empty_Trash.gif");
    DialogAnswerer answers;
    answers.press(answer);
    if (answer != "Cancel")
        answers.press("Ok");
    const QStringList sources{work.file("src/a"), work.file("src/b"), work.file("src/gone"), work.file("dest/b")};
    QVERIFY(!runBatch(messages, Transfer::Copy, sources, work.file("dest"), "success"));
    expectAllAnswered(answers);
    QCOMPARE(work.read("dest/b"), keptInDest);
    QCOMPARE(QFile::exists(work.file("dest/a")), aCopied);
    if (answer == "Cancel")
        return;
    const QString report = answers.texts().last();
    QVERIFY2(!report.contains("success") && report.contains("[gone] failed") && report.contains("[b] is already in"),
             qPrintable(report));
}

void LayerTest::secondWindowOpensAnArchiveWithoutAList()
{
    WorkFolder work;
    work.write("pack/in/x.txt", "x");
    QVERIFY(runCommand("/bin/tar -C " + quoted(work.file("pack")) + " -czf " + quoted(work.file("t.tgz")) + " in").succeeded());
    QWidget results;
    const MessageLayer messages(&results, "Dialog_Empty_Trash.gif");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    openByType(messages, work.file("t.tgz"), work.makeFolder("out"));
    expectAllAnswered(answers);
    QCOMPARE(answers.texts().last(), "Extracted");
    QCOMPARE(work.read("out/in/x.txt"), "x");
}

QTEST_MAIN(LayerTest)
#include "tst_layer.moc"
