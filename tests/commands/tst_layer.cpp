// The command layer: its rules hold without the main window, for any window that uses them.
#include "commands/message_layer.h"
#include "core/paths.h"
#include "commands/entry_bytes.h"
#include "commands/job.h"
#include "commands/transfer.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QLabel>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>


#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct PaintCounter : QWidget {
    int paints = 0;
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A transfer from a source to a destination below the working folder, its verdict, and how a
// refusal ends; for a plan that runs, the fault met meanwhile, if any.
struct PlannedTransfer {
    Transfer operation;
    QString source, dest;
    TransferPlan::Verdict verdict;
    QString outcome;
};

}  // namespace

Q_DECLARE_METATYPE(PlannedTransfer)
Q_DECLARE_METATYPE(Transfer)

class LayerTest : public QObject
{
    Q_OBJECT
private slots:
    void pathPiecesAndNamesTakenAtTheAct()
    {
        // path -> its last piece and its parent; a null string where there is none.
        const QList<QStringList> pieces{{"/a/b/c", "c", "/a/b"}, {"/a/b/", "b", "/a"}, {"//a//b", "b", "/a"},
                                        {"/a", "a", {}}, {"/", {}, {}}, {"", {}, {}}};
        for (const QStringList& row : pieces) {
            QCOMPARE(fnames(row[0]), row[1]);
            QCOMPARE(fnames(row[0]).isNull(), row[1].isNull());
            QCOMPARE(fname(row[0]), row[2]);
            QCOMPARE(fname(row[0]).isNull(), row[2].isNull());
        }
        QVERIFY(isInside("/a/b", "/a") && isInside("/a", "/a") && !isInside("/ab", "/a") && isInside("/x", "/"));
        // Rename and new folder: the name was free when the user was asked; taken at the act, the
        // entry there is kept.
        WorkFolder work;
        work.write("a", "a");
        work.write("b", "b");
        QCOMPARE(renameByBytes(work.path(), "a", "b").failureText(), "[b] appeared meanwhile and was kept");
        QCOMPARE(makeFolder(work.file("b")).failureText(), "[b] appeared meanwhile and was kept");
        QCOMPARE(work.read("a") + work.read("b"), "ab");
    }

    void transferRules_data()
    {
        QTest::addColumn<PlannedTransfer>("t");
        const auto copy = Transfer::Copy, move = Transfer::Move, del = Transfer::Delete;
        const auto run = TransferPlan::Run, ask = TransferPlan::AskReplace, refuse = TransferPlan::Refuse;
        const auto row = [](const char* name, const PlannedTransfer& t) { QTest::newRow(name) << t; };
        row("new copy on a full card", {copy, "f/big", "g", run, "full card"});
        row("replace on a full card", {copy, "f/big", "g2", ask, "full card"});
        // The card pulled while the user was asked: rm -f would say it went well.
        row("delete of an entry gone meanwhile", {del, "f/a.txt", "", run, "gone meanwhile"});
        row("into its own folder", {copy, "f/a.txt", "f", refuse, "] is already in [@/f]"});
        row("folder into itself", {copy, "f/sub", "f/sub", refuse, "] cannot be copied into itself"});
        row("folder below itself", {move, "f/sub", "f/sub/deep", refuse, "] cannot be moved into itself"});
        row("other name of itself", {copy, "f/a.txt", "h", refuse, "] is already in [@/h]"});
        row("replacing what holds it", {move, "f/f", ".", refuse, "] and cannot be replaced by it"});
        row("delete a vanished entry", {del, "f/gone", "", refuse, "] no longer exists"});
    }

    // A plan that runs leaves the target holding the source's content, the source gone after a move
    // or delete, and no hidden scratch entry. One that fails, as on a full card, leaves every entry
    // as it was, with no cut copy.
    void transferRules()
    {
        QFETCH(PlannedTransfer, t);
        WorkFolder work;
        for (const char* name : {"f/a.txt", "f/sub/deep/x", "f/f/o", "g2/a.txt", "g2/big", "g2/sub/old/o"})
            work.write(name, name);
        work.write("f/big", QByteArray(64 * 1024, 'n'));
        work.makeFolder("g");
        work.makeFolder("h");
        const QString root = QDir(work.path()).canonicalPath();
        QFile::link(root + "/f/a.txt", root + "/h/a.txt");

        const QString from = root + "/" + t.source;
        const QString to = t.dest.isEmpty() ? "" : QDir::cleanPath(root + "/" + t.dest);
        const TransferPlan plan = planTransfer(t.operation, from, to);
        QCOMPARE(plan.verdict, t.verdict);
        if (t.verdict == TransferPlan::Refuse) {
            QVERIFY2(plan.refusal.endsWith(t.outcome.replace("@", root)), qPrintable(plan.refusal));
            return;
        }
        if (t.outcome == "gone meanwhile")
            QFile::remove(from);
        const TreeListing before = treeListing(root);
        const bool succeeded =
            withFileSizeLimit(t.outcome == "full card" ? 4096 : 0, [&] { return runTransfer(plan, true).succeeded(); });
        QCOMPARE(succeeded, t.outcome.isEmpty());
        const QString target = t.dest.isEmpty() ? QString() : QDir(root).relativeFilePath(plan.target);
        const bool asked = t.verdict == TransferPlan::AskReplace;
        const TreeListing replaced = asked ? treeAfter(before, target, "", false) : before;
        const bool kept = t.operation == Transfer::Copy;
        QCOMPARE(treeListing(root), succeeded ? treeAfter(replaced, t.source, target, kept) : before);
    }

    void batchAsksOnceAndReportsEveryFailure_data()
    {
        QTest::addColumn<QString>("answer");
        for (const char* answer : {"Replace", "Skip", "Cancel"})
            QTest::newRow(answer) << QString(answer);
    }

    void batchAsksOnceAndReportsEveryFailure()
    {
        QFETCH(QString, answer);
        WorkFolder work;
        for (const char* name : {"src/a", "src/b", "dest/b"})
            work.write(name, name);
        DialogAnswerer answers;
        answers.follow(answer == "Cancel" ? QStringList{answer} : QStringList{answer, "Ok"});
        const QStringList sources{work.file("src/a"), work.file("src/b"), work.file("src/gone"), work.file("dest/b")};
        QCOMPARE(runBatch(messages, Transfer::Copy, sources, work.file("dest"), "success"), answer != "Cancel");
        expectAllAnswered(answers);
        QCOMPARE(work.read("dest/b"), answer == "Replace" ? "src/b" : "dest/b");
        QCOMPARE(QFile::exists(work.file("dest/a")), answer != "Cancel");
        const QString report = answers.texts().last();
        const QString failed = (answer == "Skip" ? "1 copied, 1 skipped: b\n" : "") + QString("[gone] failed");
        const bool told = report.startsWith(failed) && report.contains("[b] is already in");
        QVERIFY2(answer == "Cancel" || told, qPrintable(report));
    }

    void stoppedOrFailedBatchLeavesEachEntryWholeInOnePlace_data()
    {
        QTest::addColumn<Transfer>("operation");
        QTest::addColumn<bool>("otherDisk");
        QTest::addColumn<QString>("stopAt");   // the moment the user presses Stop, if ever
        QTest::addColumn<QString>("appears");  // an entry another program writes at the target meanwhile
        QTest::addColumn<int>("done");
        const auto copy = Transfer::Copy, move = Transfer::Move;
        for (bool other : {false, true}) {
            const QByteArray disk = other ? ", other disk" : "";
            for (Transfer operation : {copy, move}) {
                const QByteArray verb = operation == copy ? "copy" : "move";
                QTest::newRow(verb + ", Stop before the first entry" + disk) << operation << other << "before" << "" << 0;
                QTest::newRow(verb + ", Stop between entries" + disk) << operation << other << "between" << "" << 1;
                QTest::newRow(verb + ", an entry appears at the target" + disk) << operation << other << "" << "a" << 2;
                if (operation == copy || other)
                    QTest::newRow(verb + ", Stop inside a big file" + disk) << operation << other << "inside" << "" << 0;
            }
        }
        QTest::newRow("delete, Stop before the first entry") << Transfer::Delete << false << "before" << "" << 0;
        QTest::newRow("move onto a full card of another disk") << move << true << "full" << "" << 2;
    }
    // Whatever happens meanwhile, each entry is either wholly done or left as it was, never cut,
    // never in neither place, and the report counts exactly the entries done.
    void stoppedOrFailedBatchLeavesEachEntryWholeInOnePlace()
    {
        QFETCH(Transfer, operation);
        QFETCH(bool, otherDisk);
        QFETCH(QString, stopAt);
        QFETCH(QString, appears);
        QFETCH(int, done);
        WorkFolder work;
        QTemporaryDir shm("/dev/shm/tst_layer-XXXXXX");
        work.write("src/big", QByteArray(4 << 20, 'b'));
        work.write("src/a", "a");
        work.write("src/c/d/e", "e");
        const QString dest = otherDisk ? shm.path() : work.makeFolder("dest");
        const auto listing = [&] {  // the other disk's entries by their own names, beside "src"
            TreeListing both = treeListing(work.path());
            both.insert(treeListing(shm.path()));
            return both;
        };
        const QString destKey = otherDisk ? "" : "dest/";
        const TreeListing before = listing();
        Job::setObserverForTests([&](Job& job) {
            const bool now = stopAt == "before" || (stopAt == "inside" && job.bytesDone() > 0)
                             || (stopAt == "between" && job.entriesDone() >= 1);
            if (now && !job.stopped())
                QTest::keyClick(&results, Qt::Key_Escape);
            if (!appears.isEmpty() && !entryExists(joinPath(dest, appears)))
                writeFile(joinPath(dest, appears), "written meanwhile");
        });
        const auto restore = qScopeGuard([] { Job::setObserverForTests({}); });
        DialogAnswerer answers;
        answers.follow(operation == Transfer::Delete ? QStringList{"Ok", "Ok"} : QStringList{"Ok"});
        const QStringList names{"big", "a", "c"};
        const QStringList sources = QStringList(names).replaceInStrings(QRegularExpression("^"), work.file("src/"));
        withFileSizeLimit(stopAt == "full" ? 1 << 20 : 0, [&] { return runBatch(messages, operation, sources, dest, "success"); });
        expectAllAnswered(answers);

        TreeListing expected = before;
        int found = 0;
        for (const QString& name : names) {
            const bool gone = !entryExists(work.file("src/" + name));
            const bool there = name != appears && entryExists(joinPath(dest, name));
            if (operation == Transfer::Delete ? gone : there) {
                ++found;
                expected = treeAfter(expected, "src/" + name, operation == Transfer::Delete ? "" : destKey + name,
                                     operation == Transfer::Copy);
            }
        }
        if (!appears.isEmpty())
            expected.insert(destKey + appears, "f:" + QCryptographicHash::hash("written meanwhile", QCryptographicHash::Md5).toHex());
        QCOMPARE(listing(), expected);
        QCOMPARE(found, done);
        const QString report = answers.texts().last();
        const QString verb = operation == Transfer::Copy ? " copied" : operation == Transfer::Move ? " moved" : " deleted";
        if (stopAt != "full" && !stopAt.isEmpty())
            QVERIFY2(report.startsWith(QString("Stopped: %1 of 3").arg(done) + verb), qPrintable(report));
        if (!appears.isEmpty())
            QCOMPARE(report, "[" + appears + "] appeared meanwhile and was kept");
        if (stopAt == "full")
            QVERIFY2(report.startsWith("[big] failed: "), qPrintable(report));
    }

    void exitStatusAndErrorOutput_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("failure");
        QTest::newRow("success") << "true" << true << "";
        QTest::newRow("first three lines of the error output")
            << "echo one >&2; echo two >&2; echo three >&2; echo four >&2; exit 1" << false << "one\ntwo\nthree";
        QTest::newRow("error output of a success is no failure") << "echo note >&2" << true << "";
        QTest::newRow("missing program") << "/nonexistent/program" << false << "/nonexistent/program: not found";
        QTest::newRow("killed") << "kill -9 $$" << false << "the command was ended by a signal";
    }

    void exitStatusAndErrorOutput()
    {
        QFETCH(QString, command);
        QFETCH(bool, succeeded);
        QFETCH(QString, failure);
        const CommandResult result = runCommand(command);
        QCOMPARE(result.succeeded(), succeeded);
        QVERIFY2(result.failureText().endsWith(failure), qPrintable(result.failureText()));
    }

    void commandEndsWhileTheWindowPaintsOneStrip_data()
    {
        QTest::addColumn<bool>("polling");
        QTest::newRow("end told by a pidfd") << false;
        QTest::newRow("end found by polling") << true;
    }
    // The command writes more than a pipe holds to its error output, then waits on a FIFO that is
    // written only once the window has repainted and long enough has passed for a command's own
    // strip to have come: a runner that blocked the window would wait for ever (here, 20 s).
    void commandEndsWhileTheWindowPaintsOneStrip()
    {
        QFETCH(bool, polling);
        forceExitPollingForTests(polling);
        const auto restore = qScopeGuard([] { forceExitPollingForTests(false); });
        PaintCounter window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList seen;
        {
            const int paintsBefore = window.paints;
            window.update();
            WorkFolder work;
            const QString fifo = work.file("go");
            QVERIFY(::mkfifo(QFile::encodeName(fifo), 0600) == 0);
            QTimer tick;
            QObject::connect(&tick, &QTimer::timeout, [&] {
                seen.clear();
                for (QLabel* strip : window.findChildren<QLabel*>("busyIndicator"))
                    seen << strip->text();
                const bool ready = window.paints > paintsBefore && !seen.isEmpty();
                const int fd = ready ? ::open(QFile::encodeName(fifo), O_WRONLY | O_NONBLOCK) : -1;
                if (fd >= 0 && ::write(fd, "\n", 1) == 1)
                    tick.stop();
                if (fd >= 0)
                    ::close(fd);
            });
            tick.start(0);
            const QString wait = "yes error | head -c 1048576 >&2; read line < " + quoted(fifo);
            const CommandResult result = runCommand("timeout 20 /bin/sh -c " + quoted(wait) + " && exit 3");
            QCOMPARE(result.exitCode, 3);
            QVERIFY(result.errorOutput.startsWith("error\nerror\n"));
            QCOMPARE(seen, QStringList{"Working..."});
        }
        QVERIFY(window.findChildren<QLabel*>("busyIndicator").isEmpty());
    }

private:
    QWidget results;  // a window of its own, not the main one
    const MessageLayer messages{&results, "Dialog_Empty_Trash.gif"};
};

QTEST_MAIN(LayerTest)
#include "tst_layer.moc"
