#include "app/my_widget.h"
#include "commands/runner.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

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

    // The command ends only once a timer of this process has seen the window paint again and
    // the busy strip come: a runner that blocked the window would wait for ever (here, 60 s).
    void windowRepaintsWhileACommandRuns()
    {
        WorkFolder work;
        PaintCounter window;
        window.resize(240, 320);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int paintsBefore = window.paints;
        bool busyShown = false;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] {
            auto* strip = window.findChild<QLabel*>("busyIndicator");
            busyShown = busyShown || (strip && strip->isVisible());
            window.update();
            if (busyShown && window.paints > paintsBefore)
                work.write("go");
        });
        tick.start(0);
        const CommandResult result = runCommand("timeout 60 sh -c 'until [ -e go ]; do sleep 0.01; done'");
        QVERIFY2(result.succeeded(), qPrintable(result.failureText()));
        QVERIFY(!window.findChild<QLabel*>("busyIndicator"));
    }

    void backgroundProgramGetsItsArgumentsOrIsReported()
    {
        WorkFolder work;
        QVERIFY(!startInBackground(work.file("missing")));
        work.write("plain", "#!/bin/sh\n");
        QVERIFY(!startInBackground(work.file("plain")));
        QVERIFY(startInBackground(work.recorder("program"), {"$(touch INJECTED) it's", "-x y"}));
        QTRY_COMPARE(work.read("log"), QByteArray("$(touch INJECTED) it's|-x y|\n"));
        QVERIFY(!QFile::exists("INJECTED"));
    }

    void pathPieces_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("parent");
        QTest::newRow("three pieces") << "/a/b/c" << "c" << "/a/b";
        QTest::newRow("trailing slash") << "/a/b/" << "b" << "/a";
        QTest::newRow("one piece") << "/a" << "a" << QString();
        QTest::newRow("root") << "/" << QString() << QString();
        QTest::newRow("empty") << "" << QString() << QString();
        QTest::newRow("doubled slashes") << "//a//b" << "b" << "/a";
    }
    void pathPieces()
    {
        QFETCH(QString, path);
        QFETCH(QString, last);
        QFETCH(QString, parent);
        WorkFolder work;
        My_Widget window;  // never shown
        QCOMPARE(window.fnames(path), last);
        QCOMPARE(window.fnames(path).isNull(), last.isNull());
        QCOMPARE(window.fname(path), parent);
        QCOMPARE(window.fname(path).isNull(), parent.isNull());
    }
};

QTEST_MAIN(RunnerTest)
#include "tst_runner.moc"
