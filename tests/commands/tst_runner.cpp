#include "commands/runner.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Runs `before`, then waits for a fifo that is written only once `ready` holds, asked on every
// turn of the event loop while the command runs; then runs `after`. A runner that blocked the
// event loop would never let `ready` be asked: the waiting part gives up after 20 s.
CommandResult runUntil(const std::function<bool()>& ready, const QString& before, const QString& after,
                       BusyProgress* progress)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath("go"));
    if (::mkfifo(fifo.constData(), 0600) != 0)
        return {};
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const int fd = ready() ? ::open(fifo.constData(), O_WRONLY | O_NONBLOCK) : -1;
        if (fd >= 0 && ::write(fd, "\n", 1) == 1)
            tick.stop();
        if (fd >= 0)
            ::close(fd);
    });
    tick.start(0);
    const QString wait = before + "; read line < " + quoted(folder.filePath("go"));
    return runCommand("timeout 20 /bin/sh -c " + quoted(wait) + " && " + after, progress);
}

}  // namespace

class RunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void quotedNameIsOneUnchangedArgument_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList more = {"", "'", "''", "a'b'c", "\\'", "~", "~root", "!x", "a;b|c&d", "#x", "{a,b}", "a\tb",
                                  "\r", "%s %n"};
        for (const QString& name : hostileNames() + more)
            QTest::newRow(name.isEmpty() ? QByteArray("empty") : hostileRowName(name)) << name;
    }
    void quotedNameIsOneUnchangedArgument()
    {
        QFETCH(QString, name);
        WorkFolder work;
        const QString out = work.file("out $(touch INJECTED).txt");
        const CommandResult result = runCommand("printf '<%s>' " + quoted(name) + " > " + quoted(out));
        QVERIFY2(result.succeeded(), qPrintable(result.failureText()));
        QCOMPARE(work.read("out $(touch INJECTED).txt"), "<" + name.toUtf8() + ">");
        QVERIFY(!QFile::exists("INJECTED"));
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
        QTest::newRow("killed") << "kill -9 $$" << false << "the command was stopped";
    }
    void exitStatusAndErrorOutput()
    {
        QFETCH(QString, command);
        QFETCH(bool, succeeded);
        QFETCH(QString, failure);
        const CommandResult result = runCommand(command);
        QCOMPARE(result.succeeded(), succeeded);
        QVERIFY2(result.failureText().endsWith(failure), qPrintable(result.failureText()));
        QCOMPARE(failureMessage("a b", result), "[a b] failed!\n" + result.failureText());
    }

    void commandEndsWhileTheWindowPaintsOneStrip_data()
    {
        QTest::addColumn<bool>("polling");
        QTest::addColumn<QString>("progress");  // none: the command's own strip
        QTest::newRow("end told by a pidfd") << false << "3 / 120: it's";
        QTest::newRow("end found by polling") << true << "3 / 120: it's";
        QTest::newRow("a command's own strip") << false << "";
    }
    // The command writes more than a pipe holds to its error output, then waits until the window
    // has repainted and long enough has passed for a command's own strip to have come: a runner
    // that blocked the window would wait for ever (here, 20 s).
    void commandEndsWhileTheWindowPaintsOneStrip()
    {
        QFETCH(bool, polling);
        QFETCH(QString, progress);
        forceExitPollingForTests(polling);
        const auto restore = qScopeGuard([] { forceExitPollingForTests(false); });
        PaintCounter window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto strips = [&] {
            QStringList texts;
            for (QLabel* strip : window.findChildren<QLabel*>("busyIndicator"))
                texts << strip->text();
            return texts;
        };
        QStringList seen;
        {
            std::optional<BusyProgress> batch;
            if (!progress.isEmpty())
                batch.emplace().step(progress);
            const int paintsBefore = window.paints;
            window.update();
            QElapsedTimer running;
            running.start();
            const CommandResult result = runUntil([&] {
                seen = strips();
                return window.paints > paintsBefore && running.elapsed() > 500;
            }, "yes error | head -c 1048576 >&2", "exit 3", batch ? &*batch : nullptr);
            QCOMPARE(result.exitCode, 3);
            QVERIFY(result.errorOutput.startsWith("error\nerror\n"));
            QCOMPARE(seen, QStringList{progress.isEmpty() ? "Working..." : progress});
        }
        QCOMPARE(strips(), QStringList());
    }
};

QTEST_MAIN(RunnerTest)
#include "tst_runner.moc"
