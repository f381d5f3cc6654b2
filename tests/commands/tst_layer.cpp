// The command layer: its rules hold without the main window, for any window that uses them.
#include "commands/message_layer.h"
#include "commands/opening.h"
#include "commands/paths.h"
#include "commands/runner.h"
#include "commands/transfer.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <sys/resource.h>

class LayerTest : public QObject
{
    Q_OBJECT
private slots:
    void pathHelpers_data();
    void pathHelpers();
    void nameListsNeverCutAName();
    void transferRules_data();
    void transferRules();
    void deleteOfAnEntryGoneMeanwhileFails();
    void failedCopyLeavesNoCutFile_data();
    void failedCopyLeavesNoCutFile();
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
    QTest::addColumn<QString>("refusal");  // how the refusal ends
    const int copy = int(Transfer::Copy), move = int(Transfer::Move), del = int(Transfer::Delete);
    const int run = int(TransferPlan::Run), ask = int(TransferPlan::AskReplace), refuse = int(TransferPlan::Refuse);
    QTest::newRow("copy a file") << copy << "f/a.txt" << "g" << run << "";
    QTest::newRow("move a folder") << move << "f/sub" << "g" << run << "";
    QTest::newRow("copy over a file") << copy << "f/a.txt" << "g2" << ask << "";
    QTest::newRow("move over a folder") << move << "f/sub" << "g2" << ask << "";
    QTest::newRow("delete") << del << "f/a.txt" << "" << run << "";
    QTest::newRow("into its own folder") << copy << "f/a.txt" << "f" << refuse << "] is already in [@/f]";
    QTest::newRow("folder into itself") << copy << "f/sub" << "f/sub" << refuse << "] cannot be copied into itself";
    QTest::newRow("folder below itself") << move << "f/sub" << "f/sub/deep" << refuse << "] cannot be moved into itself";
    QTest::newRow("other name of itself") << copy << "f/a.txt" << "h" << refuse << "] is already in [@/h]";
    QTest::newRow("replacing what holds it") << move << "f/f" << "." << refuse << "] and cannot be replaced by it";
    QTest::newRow("delete a vanished entry") << del << "f/gone" << "" << refuse << "] no longer exists";
}

// Run and replace plans are carried out: the target then holds the source's content, the
// source is gone after a move or delete, and no hidden scratch entry is left behind.
void LayerTest::transferRules()
{
    QFETCH(int, operation);
    QFETCH(QString, source);
    QFETCH(QString, dest);
    QFETCH(int, verdict);
    QFETCH(QString, refusal);
    WorkFolder work;
    const QString root = QDir(work.path()).canonicalPath();
    for (const char* folder : {"f/sub/deep", "f/f", "g", "g2/sub/old", "h"})
        QDir().mkpath(root + "/" + folder);
    writeFile(root + "/f/a.txt", QByteArray(3, 'x'));
    writeFile(root + "/f/sub/deep/x", QByteArray(4, 'x'));
    writeFile(root + "/g2/a.txt", QByteArray(5, 'x'));
    QFile::link(root + "/f/a.txt", root + "/h/a.txt");

    const QString from = root + "/" + source;
    const QString destFolder = dest.isEmpty() ? QString() : QDir::cleanPath(root + "/" + dest);
    const TransferPlan plan = planTransfer(Transfer(operation), from, destFolder);
    QCOMPARE(int(plan.verdict), verdict);
    if (verdict == TransferPlan::Refuse) {
        refusal.replace("@", root);
        QVERIFY2(plan.refusal.endsWith(refusal), qPrintable(plan.refusal));
        return;
    }
    const TreeListing before = treeListing(root);
    QVERIFY2(runTransfer(plan).succeeded(), qPrintable(plan.command));
    const QString relative = QDir(root).relativeFilePath(from);
    TreeListing expected = treeAfter(before, relative, dest.isEmpty() ? QString() : QDir(root).relativeFilePath(plan.target),
                                     operation == int(Transfer::Copy));
    if (verdict == TransferPlan::AskReplace)
        expected = treeAfter(treeAfter(before, QDir(root).relativeFilePath(plan.target), QString(), false), relative,
                             QDir(root).relativeFilePath(plan.target), operation == int(Transfer::Copy));
    QCOMPARE(treeListing(root), expected);
}

// The card pulled while the user was asked: rm -f would say it went well.
void LayerTest::deleteOfAnEntryGoneMeanwhileFails()
{
    WorkFolder work;
    work.write("a", "a");
    const TransferPlan plan = planTransfer(Transfer::Delete, work.file("a"), QString());
    QFile::remove(work.file("a"));
    QVERIFY(!runTransfer(plan).succeeded());
}

// A card that fills up during a copy: the old entry stays whole and no cut copy is left.
void LayerTest::failedCopyLeavesNoCutFile_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::newRow("replace") << true;
    QTest::newRow("new entry") << false;
}

void LayerTest::failedCopyLeavesNoCutFile()
{
    QFETCH(bool, replacing);
    WorkFolder work;
    work.write("src/big", QByteArray(64 * 1024, 'n'));
    if (replacing)
        work.write("dest/big", "old");
    else
        work.makeFolder("dest");
    const TreeListing before = treeListing(work.file("dest"));
    const TransferPlan plan = planTransfer(Transfer::Copy, work.file("src/big"), work.file("dest"));
    struct rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit full = previous;
    full.rlim_cur = 4096;  // what the card still has room for
    setrlimit(RLIMIT_FSIZE, &full);
    const CommandResult result = runTransfer(plan);
    setrlimit(RLIMIT_FSIZE, &previous);
    QVERIFY(!result.succeeded());
    QCOMPARE(treeListing(work.file("dest")), before);
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
