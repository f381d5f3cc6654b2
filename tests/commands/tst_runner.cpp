#include "app/my_widget.h"
#include "app/platform/softkeys.h"
#include "browser/my_listbox.h"
#include "commands/runner.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The members of a gzip-compressed tar archive, as tar lists them.
QStringList members(const QString& archive)
{
    QProcess tar;
    tar.start("tar", {"-tzf", archive});
    if (!tar.waitForFinished() || tar.exitCode() != 0)
        return {"(not an archive)"};
    QStringList lines = QString::fromUtf8(tar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// Runs `before`, then waits for a fifo that is written only once `ready` holds, asked on every
// turn of the event loop while the command runs; then runs `after`. A runner that blocked the
// event loop would never let `ready` be asked: the waiting part gives up after 20 s.
CommandResult runUntil(const std::function<bool()>& ready, const QString& before, const QString& after)
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
    return runCommand("timeout 20 /bin/sh -c " + quoted(wait) + " && " + after);
}

}  // namespace

class RunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void quotedNameIsOneUnchangedArgument_data();
    void quotedNameIsOneUnchangedArgument();
    void exitStatusAndErrorOutput_data();
    void exitStatusAndErrorOutput();
    void windowRepaintsWhileACommandRuns();
    void backgroundProgramGetsItsArgumentsOrIsReported();

    void commandUnderProgressEndsAndShowsOneStrip_data();
    void commandUnderProgressEndsAndShowsOneStrip();
    void resourceButtonShowsItsLabel();

    void fcmdRunsOnlyAfterOk_data();
    void fcmdRunsOnlyAfterOk();
    void readyMadeCommandGoesWhereTheAnswerSays_data();
    void readyMadeCommandGoesWhereTheAnswerSays();
    void packingWritesTheFolderByItsOwnName_data();
    void packingWritesTheFolderByItsOwnName();
    void packingOntoAnExistingArchiveAsksFirst_data();
    void packingOntoAnExistingArchiveAsksFirst();
    void rootFolderIsNotPacked();
    void pathPieces_data();
    void pathPieces();
    void fshellListsTheTargetOrRefreshes();
};

void RunnerTest::quotedNameIsOneUnchangedArgument_data()
{
    QTest::addColumn<QString>("name");
    QStringList names = hostileNames();
    names << "" << "'" << "''" << "a'b'c" << "\\'" << "~" << "~root" << "!x" << "a;b|c&d" << "#x" << "{a,b}"
          << "a\tb" << "\r" << "%s %n";
    for (const QString& name : names)
        QTest::newRow(hostileRowName(name).isEmpty() ? QByteArray("empty") : hostileRowName(name)) << name;
}

void RunnerTest::quotedNameIsOneUnchangedArgument()
{
    QFETCH(QString, name);
    WorkFolder work;
    const QString out = work.file("out $(touch INJECTED).txt");
    const CommandResult result = runCommand("printf '<%s>' " + quoted(name) + " > " + quoted(out));
    QVERIFY2(result.succeeded(), qPrintable(result.failureText()));
    QCOMPARE(contents(out), "<" + name.toUtf8() + ">");
    QCOMPARE(injectedFiles(work.path()), QStringList());
}

void RunnerTest::exitStatusAndErrorOutput_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<QString>("failure");
    QTest::newRow("success") << "true" << true << "";
    QTest::newRow("exit status without a word") << "echo only on the output; exit 3" << false << "exit status 3";
    QTest::newRow("first three lines of the error output")
        << "echo one >&2; echo two >&2; echo three >&2; echo four >&2; exit 1" << false << "one\ntwo\nthree";
    QTest::newRow("error output of a success is no failure") << "echo note >&2" << true << "";
    QTest::newRow("missing program") << "/nonexistent/program" << false << "/nonexistent/program: not found";
    QTest::newRow("killed") << "kill -9 $$" << false << "the command was stopped";
}

void RunnerTest::exitStatusAndErrorOutput()
{
    QFETCH(QString, command);
    QFETCH(bool, succeeded);
    QFETCH(QString, failure);
    const CommandResult result = runCommand(command);
    QCOMPARE(result.succeeded(), succeeded);
    if (!succeeded)
        QVERIFY2(result.failureText().endsWith(failure), qPrintable(result.failureText()));
}

// The command waits on a fifo that a timer writes only after the window has painted
// again, so the command can only end if painting went on meanwhile.
void RunnerTest::windowRepaintsWhileACommandRuns()
{
    WorkFolder work;
    const QString fifo = work.file("go");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    PaintCounter window;
    window.resize(240, 320);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    bool busyShown = false;
    int paintsBefore = -1;
    QElapsedTimer running;
    running.start();
    QTimer tick;
    tick.setInterval(0);
    connect(&tick, &QTimer::timeout, [&] {
        auto* strip = window.findChild<QLabel*>("busyIndicator");
        busyShown = busyShown || (strip && strip->isVisible());
        if (paintsBefore < 0) {
            paintsBefore = window.paints;
            window.update();
            return;
        }
        // The strip comes once the command has taken a moment.
        if ((window.paints == paintsBefore || !busyShown) && running.elapsed() < 20000)
            return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            return;  // the command has not opened it yet
        QCOMPARE(::write(fd, "go\n", 3), ssize_t(3));
        ::close(fd);
        tick.stop();
    });
    tick.start();
    // A runner that blocked the window would never see the fifo written: give up then.
    const QString wait = "read line < " + quoted(fifo) + " && test \"$line\" = go";
    const CommandResult result = runCommand("timeout 60 /bin/sh -c " + quoted(wait));

    QVERIFY2(result.succeeded(), qPrintable(result.failureText()));
    QVERIFY(busyShown);
    QVERIFY2(window.paints > paintsBefore, "the window did not repaint while the command ran");
    QVERIFY(!window.findChild<QLabel*>("busyIndicator"));
}

void RunnerTest::backgroundProgramGetsItsArgumentsOrIsReported()
{
    WorkFolder work;
    QVERIFY(!startInBackground(work.file("missing")));
    work.write("plain", "#!/bin/sh\n");
    QVERIFY(!startInBackground(work.file("plain")));

    work.write("program", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$1.out\"\n");
    QVERIFY(QFile::setPermissions(work.file("program"), QFile::ReadOwner | QFile::ExeOwner));
    const QString first = work.file("$(touch INJECTED) it's");
    QVERIFY(startInBackground(work.file("program"), {first, "-x y"}));
    QTRY_COMPARE(contents(first + ".out"), (first + "|-x y|").toUtf8());
    QCOMPARE(injectedFiles(work.path()), QStringList());
}

void RunnerTest::commandUnderProgressEndsAndShowsOneStrip_data()
{
    QTest::addColumn<bool>("polling");
    QTest::newRow("end told by a pidfd") << false;
    QTest::newRow("end found by polling") << true;
}

// The command writes more than a pipe holds to its error output, then waits until the window has
// repainted and long enough has passed for a command's own strip to have come, were it to come.
void RunnerTest::commandUnderProgressEndsAndShowsOneStrip()
{
    QFETCH(bool, polling);
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
        BusyProgress progress;
        progress.step("3 / 120: it's");
        const int paintsBefore = window.paints;
        window.update();
        QElapsedTimer running;
        running.start();
        const CommandResult result = runUntil([&] {
            seen = strips();
            return window.paints > paintsBefore && running.elapsed() > 500;
        }, "yes error | head -c 1048576 >&2", "exit 3");
        QCOMPARE(result.exitCode, 3);
        QVERIFY(result.errorOutput.startsWith("error\nerror\n"));
        QCOMPARE(seen, QStringList{"3 / 120: it's"});
    }
    QCOMPARE(strips(), QStringList());
}

void RunnerTest::resourceButtonShowsItsLabel()
{
    QWidget parent;
    QCOMPARE(UTIL_PushButton("CST_Back", "", &parent).text(), QString("Back"));
    QCOMPARE(UTIL_PushButton("", "Retry", &parent).text(), QString("Retry"));
}

void RunnerTest::fcmdRunsOnlyAfterOk_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("failing");
    QTest::addColumn<QString>("subject");
    QTest::newRow("Ok") << "Ok" << false << "a b";
    QTest::newRow("Cancel") << "Cancel" << false << "a b";
    QTest::newRow("Ok, command fails") << "Ok" << true << "a b";
    QTest::newRow("Ok, command fails, no subject") << "Ok" << true << "";
}

void RunnerTest::fcmdRunsOnlyAfterOk()
{
    QFETCH(QString, answer);
    QFETCH(bool, failing);
    QFETCH(QString, subject);
    WorkFolder work;
    work.write("regular", "a file");
    // Nothing can be made below a regular file, whoever asks.
    const QString target = failing ? work.file("regular/a b") : work.file("a b");
    My_Widget window;

    DialogAnswerer answers;
    answers.press(answer);
    if (answer == "Ok")
        answers.press("Ok");
    const bool done = window.Fcmd("Make [a b]?", "/bin/mkdir " + quoted(target), "a b made", subject);

    expectAllAnswered(answers);
    QCOMPARE(done, answer == "Ok" && !failing);
    QCOMPARE(QFileInfo(target).isDir(), done);
    QCOMPARE(answers.texts().value(0), QString("Make [a b]?"));
    if (answer == "Cancel") {
        QCOMPARE(answers.texts().size(), 1);
    } else if (!failing) {
        QCOMPARE(answers.texts().value(1), QString("a b made"));
    } else {
        const QString message = answers.texts().value(1);
        const QString head = (subject.isEmpty() ? QString("Command") : "[" + subject + "]") + " failed!\n/bin/mkdir: ";
        QVERIFY2(message.startsWith(head), qPrintable(message));
        QVERIFY2(message.contains("Not a directory"), qPrintable(message));
    }
}

void RunnerTest::readyMadeCommandGoesWhereTheAnswerSays_data()
{
    QTest::addColumn<QStringList>("presses");  // "pick" stands for choosing the destination
    QTest::addColumn<QString>("result");       // where the copy is then: "tail", "dest" or ""
    QTest::newRow("Ok runs head, source and tail") << QStringList{"Ok", "Ok"} << "tail";
    QTest::newRow("Folder runs head, source and the chosen folder") << QStringList{"Folder", "pick", "Ok"} << "dest";
    QTest::newRow("Folder with a cancelled picker") << QStringList{"Folder", "Cancel"} << "";
    QTest::newRow("Cancel") << QStringList{"Cancel"} << "";
}

void RunnerTest::readyMadeCommandGoesWhereTheAnswerSays()
{
    QFETCH(QStringList, presses);
    QFETCH(QString, result);
    WorkFolder work;
    const QString listed = work.makeFolder("mmc/mmca1");
    work.write("mmc/mmca1/a 'b'", "data");
    const QString dest = work.makeFolder("mmc/mmca1/dest $(touch INJECTED)");
    const QString tail = work.file("mmc/mmca1/copy \"c\"");
    work.writeSettings({"File::" + listed});
    My_Widget window;

    DialogAnswerer answers;
    for (const QString& press : presses) {
        if (press == "pick")
            answers.pick(dest);
        else
            answers.press(press);
    }
    window.showDialogV("/bin/cp ", quoted(listed + "/a 'b'") + " ", quoted(tail), "Copy it?", "copied", 0, 0);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts().value(0), QString("Copy it?"));
    QCOMPARE(QFile::exists(tail), result == "tail");
    QCOMPARE(QFile::exists(dest + "/a 'b'"), result == "dest");
    QCOMPARE(answers.texts().size(), presses.size());
    if (!result.isEmpty())
        QCOMPARE(answers.texts().last(), QString("copied"));
    // Only a chosen folder is listed afterwards.
    QCOMPARE(window.currentFolder().absolutePath(), result == "dest" ? dest : listed);
    QCOMPARE(injectedFiles(work.path()), QStringList());
}

void RunnerTest::packingWritesTheFolderByItsOwnName_data()
{
    QTest::addColumn<int>("archiveType");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("toChosenFolder");
    const QList<QPair<int, QString>> types = {{0, "tar.gz"}, {1, "mpkg"}, {2, "mtf"}, {7, "tar.gz"}};
    for (const auto& type : types) {
        QTest::addRow("type %d beside the folder", type.first) << type.first << type.second << false;
        QTest::addRow("type %d into a chosen folder", type.first) << type.first << type.second << true;
    }
}

void RunnerTest::packingWritesTheFolderByItsOwnName()
{
    QFETCH(int, archiveType);
    QFETCH(QString, extension);
    QFETCH(bool, toChosenFolder);
    WorkFolder work;
    const QString name = "--checkpoint=1 $(touch INJECTED)";
    const QString parent = work.makeFolder("mmc/mmca1");
    const QString source = work.makeFolder("mmc/mmca1/" + name);
    work.write("mmc/mmca1/" + name + "/it's.txt", "one");
    work.write("mmc/mmca1/" + name + "/sub/-rf", "two");
    work.write("mmc/mmca1/beside.txt", "not packed");
    const QString dest = work.makeFolder("mmc/mmca1/dest \"d\"");
    My_Widget window;

    DialogAnswerer answers;
    if (toChosenFolder)
        answers.press("Folder").pick(dest).press("Ok");
    else
        answers.press("Ok").press("Ok");
    window.showDialogV("/bin/tar czvf ", source, window.fname(source), "Pack it?", "success", 1, archiveType);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts().last(), QString("success"));
    const QString archive = (toChosenFolder ? dest : parent) + "/" + name + "." + extension;
    QCOMPARE(members(archive), QStringList({name + "/", name + "/it's.txt", name + "/sub/", name + "/sub/-rf"}));
    QCOMPARE(window.currentFolder().absolutePath(), toChosenFolder ? dest : parent);
    QVERIFY(window.fileList()->names().contains(name + "." + extension));
    QCOMPARE(injectedFiles(work.path()), QStringList());
}

void RunnerTest::packingOntoAnExistingArchiveAsksFirst_data()
{
    QTest::addColumn<bool>("toChosenFolder");
    QTest::addColumn<bool>("replace");
    QTest::newRow("beside, Cancel") << false << false;
    QTest::newRow("beside, Ok") << false << true;
    QTest::newRow("chosen folder, Cancel") << true << false;
    QTest::newRow("chosen folder, Ok") << true << true;
}

void RunnerTest::packingOntoAnExistingArchiveAsksFirst()
{
    QFETCH(bool, toChosenFolder);
    QFETCH(bool, replace);
    WorkFolder work;
    const QString parent = work.makeFolder("mmc/mmca1");
    const QString source = work.makeFolder("mmc/mmca1/pics");
    work.write("mmc/mmca1/pics/a.jpg", "image");
    const QString dest = work.makeFolder("mmc/mmca1/dest");
    const QString folder = toChosenFolder ? dest : parent;
    const QString archive = folder + "/pics.mtf";
    work.write(QDir(work.path()).relativeFilePath(archive), "an older archive");
    My_Widget window;

    DialogAnswerer answers;
    if (toChosenFolder)
        answers.press("Folder").pick(dest);
    else
        answers.press("Ok");
    answers.press(replace ? "Ok" : "Cancel");
    if (replace)
        answers.press("Ok");
    window.showDialogV("/bin/tar czvf ", source, parent, "Pack it?", "success", 1, 2);

    expectAllAnswered(answers);
    QVERIFY(answers.texts().contains("[pics.mtf] already exists in [" + folder + "]. Replace it?"));
    if (replace)
        QCOMPARE(members(archive), QStringList({"pics/", "pics/a.jpg"}));
    else
        QCOMPARE(contents(archive), QByteArray("an older archive"));
}

void RunnerTest::rootFolderIsNotPacked()
{
    WorkFolder work;
    My_Widget window;
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.showDialogV("/bin/tar czvf ", "/", window.fname("/"), "Pack it?", "success", 1, 0);
    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList({"Pack it?", "The root folder cannot be packed"}));
    QVERIFY(!QFile::exists("/.tar.gz"));
}

void RunnerTest::pathPieces_data()
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

void RunnerTest::pathPieces()
{
    QFETCH(QString, path);
    QFETCH(QString, last);
    QFETCH(QString, parent);
    WorkFolder work;
    My_Widget window;
    QCOMPARE(window.fnames(path), last);
    QCOMPARE(window.fnames(path).isNull(), last.isNull());
    QCOMPARE(window.fname(path), parent);
    QCOMPARE(window.fname(path).isNull(), parent.isNull());
}

void RunnerTest::fshellListsTheTargetOrRefreshes()
{
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    const QString other = work.makeFolder("mmc/mmca1/other");
    work.writeSettings({"File::" + card});
    My_Widget window;
    QCOMPARE(window.currentFolder().absolutePath(), card);
    work.write("mmc/mmca1/new.txt", "");
    QVERIFY(!window.fileList()->names().contains("new.txt"));
    window.Fshell("");
    QVERIFY(window.fileList()->names().contains("new.txt"));
    window.Fshell(other);
    QCOMPARE(window.currentFolder().absolutePath(), other);
}

QTEST_MAIN(RunnerTest)
#include "tst_runner.moc"
