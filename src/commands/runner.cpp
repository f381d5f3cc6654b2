#include "commands/runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <memory>
#include <optional>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The window the user looks at: the active one, else the last shown top-level window.
QWidget* busyWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* shown = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && !(top->windowType() == Qt::Popup || top->windowType() == Qt::ToolTip))
            shown = top;
    return shown;
}

// Collects what a program writes to a pipe, without ever blocking on it.
class ErrorReader
{
public:
    static constexpr qsizetype keep = 64 * 1024;

    explicit ErrorReader(int fd) : fd(fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }
    ~ErrorReader() { ::close(fd); }
    ErrorReader(const ErrorReader&) = delete;
    ErrorReader& operator=(const ErrorReader&) = delete;

    int handle() const { return fd; }
    // False once the pipe is closed at the other end.
    bool readAvailable()
    {
        char chunk[4096];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got > 0) {
                if (bytes.size() < keep)
                    bytes.append(chunk, qsizetype(got));
                continue;
            }
            return got < 0 && (errno == EAGAIN || errno == EINTR);
        }
    }
    const QByteArray& text() const { return bytes; }

private:
    int fd;
    QByteArray bytes;
};

// The shell, started without copying this process: standard input and output lead nowhere,
// standard error into the pipe.
pid_t spawnShell(const QByteArray& commandLine, int errorFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
    char shell[] = "/bin/sh", option[] = "-c";
    QByteArray line = commandLine;
    char* argv[] = {shell, option, line.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, shell, &actions, nullptr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool exitPollingForced = false;
constexpr int slowestPollMs = 20;

// Whether the program has ended, leaving it to be reaped.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    // A failure means there is nothing left to wait for.
    return ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0;
}

// Runs the window's events, but for input, until the program has ended, reading its error output
// meanwhile so that it never stops on a full pipe. A pidfd tells of the end at once; where the
// kernel has none (before 5.3, or a filter forbids it) the program is asked now and then, quickly
// at first, then more slowly.
void waitForEnd(pid_t pid, ErrorReader& errors)
{
    QEventLoop loop;
    QSocketNotifier errorReady(errors.handle(), QSocketNotifier::Read);
    QObject::connect(&errorReady, &QSocketNotifier::activated, [&] {
        if (!errors.readAvailable())
            errorReady.setEnabled(false);
    });
    const int exitFd = exitPollingForced ? -1 : int(::syscall(SYS_pidfd_open, pid, 0));
    std::unique_ptr<QSocketNotifier> exited;
    QTimer poll;
    if (exitFd >= 0) {
        exited = std::make_unique<QSocketNotifier>(exitFd, QSocketNotifier::Read);
        QObject::connect(exited.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    } else {
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (hasEnded(pid))
                loop.quit();
            else
                poll.setInterval(qMin(2 * poll.interval(), slowestPollMs));
        });
        poll.start(1);
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    exited.reset();
    if (exitFd >= 0)
        ::close(exitFd);
}

}  // namespace

// A strip across the window while work runs. It shows once the work has taken a moment, so that
// quick commands do not flash it; the wait cursor shows at once.
class BusyStrip
{
public:
    static constexpr int delayMs = 150;

    explicit BusyStrip(const QString& text) : text(text)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        delay.setSingleShot(true);
        QObject::connect(&delay, &QTimer::timeout, [this] { show(); });
        delay.start(delayMs);
    }
    ~BusyStrip()
    {
        delete label;
        QApplication::restoreOverrideCursor();
    }
    BusyStrip(const BusyStrip&) = delete;
    BusyStrip& operator=(const BusyStrip&) = delete;

    void setText(const QString& newText)
    {
        text = newText;
        if (label)
            label->setText(fitted());
    }

private:
    void show()
    {
        QWidget* window = busyWindow();
        if (!window)
            return;
        label = new QLabel(window);
        label->setObjectName("busyIndicator");
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, QColor(0xff, 0xe6, 0x80));
        colours.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(colours);
        label->setGeometry(0, window->height() / 2 - 12, window->width(), 24);
        label->setText(fitted());
        label->show();
        label->raise();
    }

    // A long name is cut at its end, so that the count stays in sight.
    QString fitted() const
    {
        return label->fontMetrics().elidedText(text, Qt::ElideRight, label->width() - 8);
    }

    QString text;
    QTimer delay;
    QPointer<QLabel> label;
};

BusyProgress::BusyProgress() : strip(std::make_unique<BusyStrip>(QString()))
{
}

BusyProgress::~BusyProgress() = default;

void BusyProgress::step(const QString& text)
{
    strip->setText(text);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void forceExitPollingForTests(bool force)
{
    exitPollingForced = force;
}

QString quoted(const QString& text)
{
    QString word = text;
    word.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + word + QLatin1Char('\'');
}

QString inFixedLocale(const QString& commandLine)
{
    // gettext follows LANGUAGE in any locale but C, C.UTF-8 included.
    return QStringLiteral("LC_ALL=C.UTF-8 LANGUAGE= ") + commandLine;
}

QString CommandResult::failureText(int maxLines) const
{
    if (!started)
        return QStringLiteral("the command could not be started");
    QStringList lines = errorOutput.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() && exitCode == -1)
        return QStringLiteral("the command was stopped");
    if (lines.isEmpty())
        return exitCode == 127 ? QStringLiteral("program not found")
                               : QStringLiteral("exit status %1").arg(exitCode);
    return lines.mid(0, maxLines).join(QLatin1Char('\n'));
}

CommandResult CommandResult::failedWith(const QString& why)
{
    CommandResult result;
    result.started = true;
    result.exitCode = 1;
    result.errorOutput = why;
    return result;
}

QString failureMessage(const QString& subject, const CommandResult& result)
{
    const QString what = subject.isEmpty() ? QStringLiteral("Command") : "[" + subject + "]";
    return what + QStringLiteral(" failed!\n") + result.failureText();
}

CommandResult runCommand(const QString& commandLine, BusyProgress* progress)
{
    CommandResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return result;
    ErrorReader errors(pipeFds[0]);
    // The shell gets the command as UTF-8 bytes, as a file name is stored on disk.
    const pid_t pid = spawnShell(commandLine.toUtf8(), pipeFds[1]);
    ::close(pipeFds[1]);
    if (pid < 0)
        return result;
    result.started = true;

    // The window goes on painting while the command runs; input waits for its end.
    std::optional<BusyStrip> busy;
    if (!progress)
        busy.emplace(QStringLiteral("Working..."));
    waitForEnd(pid, errors);
    int status = 0;
    pid_t reaped;
    while ((reaped = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    // A program left running in the background may hold the pipe open: take what is there.
    errors.readAvailable();
    result.exitCode = reaped == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errorOutput = QString::fromLocal8Bit(errors.text());
    return result;
}

bool startInBackground(const QString& program, const QStringList& arguments)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(program, arguments);
}
