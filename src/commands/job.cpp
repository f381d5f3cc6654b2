#include "commands/job.h"

#include "core/folder_reader.h"
#include "platform/keys.h"
#include "platform/zmainwidget.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::function<void(Job&)>& testObserver()
{
    static std::function<void(Job&)> observer;
    return observer;
}

bool exitPollingForced = false;
constexpr int slowestPollMs = 20;
constexpr int showAfterMs = 500;
constexpr int refreshEveryMs = 200;
constexpr int measureEveryMs = 200;
constexpr int pollEveryMs = 20;

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
class PipeReader
{
public:
    static constexpr qsizetype keep = 64 * 1024;

    explicit PipeReader(int fd) : fd(fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }
    ~PipeReader() { ::close(fd); }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

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

// The environment of a program whose words are read: gettext follows LANGUAGE in any locale but
// C, C.UTF-8 included.
std::vector<QByteArray> environmentFor(bool fixedLocale)
{
    std::vector<QByteArray> variables;
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray entry(*variable);
        if (fixedLocale && (entry.startsWith("LC_ALL=") || entry.startsWith("LANGUAGE=")))
            continue;
        variables.push_back(entry);
    }
    if (fixedLocale)
        variables.insert(variables.end(), {"LC_ALL=C.UTF-8", "LANGUAGE="});
    return variables;
}

std::vector<char*> pointersTo(std::vector<QByteArray>& strings)
{
    std::vector<char*> pointers;
    for (QByteArray& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The program, started without copying this process and in a process group of its own:
// standard input leads nowhere, standard output to outputFd or nowhere, standard error into errorFd.
pid_t spawnProgram(const QStringList& arguments, bool fixedLocale, int outputFd, int errorFd)
{
    std::vector<QByteArray> argumentBytes;
    for (const QString& argument : arguments)
        argumentBytes.push_back(QFile::encodeName(argument));
    std::vector<QByteArray> environment = environmentFor(fixedLocale);
    std::vector<char*> argv = pointersTo(argumentBytes), envp = pointersTo(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Whether the program has ended, leaving it to be reaped.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    // A failure means there is nothing left to wait for.
    return ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0;
}

void readWhileRunning(QSocketNotifier& ready, PipeReader& pipe)
{
    QObject::connect(&ready, &QSocketNotifier::activated, [&] {
        if (!pipe.readAvailable())
            ready.setEnabled(false);
    });
}

// Runs the window's events until the program has ended, reading its output meanwhile so that it
// never stops on a full pipe, and measuring now and then. A pidfd tells of the end at once; where
// the kernel has none (before 5.3, or a filter forbids it) the program is asked now and then,
// quickly at first, then more slowly.
void waitForEnd(pid_t pid, PipeReader& errors, PipeReader* output, const std::function<void()>& measure)
{
    QEventLoop loop;
    QSocketNotifier errorReady(errors.handle(), QSocketNotifier::Read);
    readWhileRunning(errorReady, errors);
    std::unique_ptr<QSocketNotifier> outputReady;
    if (output) {
        outputReady = std::make_unique<QSocketNotifier>(output->handle(), QSocketNotifier::Read);
        readWhileRunning(*outputReady, *output);
    }
    QTimer measuring;
    QObject::connect(&measuring, &QTimer::timeout, measure);
    measuring.start(measureEveryMs);
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
    loop.exec();
    exited.reset();
    if (exitFd >= 0)
        ::close(exitFd);
}

}  // namespace

// A strip across the window while work runs. It shows once the work has taken half a second,
// so that quick commands do not flash it; the wait cursor shows at once.
class BusyStrip
{
public:
    BusyStrip() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyStrip()
    {
        delete label;
        QApplication::restoreOverrideCursor();
    }
    BusyStrip(const BusyStrip&) = delete;
    BusyStrip& operator=(const BusyStrip&) = delete;

    void setText(const QString& text)
    {
        if (!label && !create())
            return;
        // A long name is cut at its end, so that the count stays in sight.
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, label->width() - 8));
    }

private:
    bool create()
    {
        QWidget* window = busyWindow();
        if (!window)
            return false;
        label = new QLabel(window);
        label->setObjectName("busyIndicator");
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, QColor(0xff, 0xe6, 0x80));
        colours.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(colours);
        label->setGeometry(0, window->height() / 2 - 12, window->width(), 24);
        label->show();
        label->raise();
        return true;
    }

    QPointer<QLabel> label;
};

// While a job runs, input is dropped but for Stop: the right soft key (tapped or pressed) and
// Escape. A dialog the job asks is answered as always.
class StopInput : public QObject
{
public:
    StopInput(Job& job, QPushButton* stopKey)
        : job(job), stopKey(stopKey), modalAtStart(QApplication::activeModalWidget())
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (QApplication::activeModalWidget() != modalAtStart)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (softKeyFor(static_cast<QKeyEvent*>(event)->key(), false) == SoftKey::Right)
                job.stop();
            return true;
        case QEvent::MouseButtonPress:
            if (stopKey && watched == stopKey)
                job.stop();
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
        }
    }

private:
    Job& job;
    QPointer<QPushButton> stopKey;
    QPointer<QWidget> modalAtStart;  // a job may run from a dialog; a dialog it asks is answered
};

void forceExitPollingForTests(bool force)
{
    exitPollingForced = force;
}

Job::Job() : strip(std::make_unique<BusyStrip>()), text(QStringLiteral("Working..."))
{
    if (auto* window = qobject_cast<ZMainWidget*>(busyWindow()))
        stopKey = window->softKeyButton(SoftKey::Right);
    if (stopKey) {
        stopKeyText = stopKey->text();
        stopKey->setText(QStringLiteral("Stop"));
    }
    input = std::make_unique<StopInput>(*this, stopKey);
    sinceStart.start();
}

Job::~Job()
{
    if (stopKey)
        stopKey->setText(stopKeyText);
}

void Job::setObserverForTests(std::function<void(Job&)> observer)
{
    testObserver() = std::move(observer);
}

void Job::observe()
{
    if (testObserver())
        testObserver()(*this);
}

void Job::setTotal(qint64 entries, qint64 bytes)
{
    totalEntries = entries;
    totalBytes = bytes;
}

QString shownBytes(qint64 bytes)
{
    if (bytes >= Q_INT64_C(1) << 30)
        return QString::number(double(bytes) / double(Q_INT64_C(1) << 30), 'f', 1) + " GB";
    if (bytes >= 1 << 20)
        return QString::number(bytes >> 20) + " MB";
    return QString::number(bytes >> 10) + " KB";
}

void Job::progress(qint64 entries, qint64 bytes, const QString& name)
{
    doneEntries = entries;
    doneBytes = bytes;
    QStringList parts;
    if (totalEntries > 0)
        parts << QStringLiteral("%1 / %2").arg(qMin(entries + 1, totalEntries)).arg(totalEntries);
    if (totalBytes > 0)
        parts << shownBytes(bytes) + " of " + shownBytes(totalBytes);
    parts << name;
    show(parts.join(QStringLiteral(" · ")));
}

void Job::show(const QString& newText)
{
    text = newText;
    refresh();
    observe();
}

void Job::refresh()
{
    const qint64 now = sinceStart.elapsed();
    if (now < showAfterMs || now - lastShownMs < refreshEveryMs)
        return;
    lastShownMs = now;
    strip->setText(text);
}

void Job::poll()
{
    if (sincePoll.isValid() && sincePoll.elapsed() < pollEveryMs)
        return;
    sincePoll.start();
    refresh();
    QCoreApplication::processEvents();
    observe();
}

void Job::stop()
{
    wasStopped = true;
    if (running > 0)
        ::kill(-running, SIGKILL);
}

CommandResult Job::run(const QStringList& arguments, const ProgramOptions& options)
{
    CommandResult result;
    if (wasStopped) {
        result.stopped = true;
        return result;
    }
    int errorPipe[2], outputPipe[2] = {-1, -1};
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return result;
    PipeReader errors(errorPipe[0]);
    std::unique_ptr<PipeReader> output;
    if (options.keepOutput && ::pipe2(outputPipe, O_CLOEXEC) == 0)
        output = std::make_unique<PipeReader>(outputPipe[0]);
    const pid_t pid = spawnProgram(arguments, options.fixedLocale, outputPipe[1], errorPipe[1]);
    ::close(errorPipe[1]);
    if (outputPipe[1] >= 0)
        ::close(outputPipe[1]);
    if (pid < 0)
        return result;
    result.started = true;
    running = pid;
    waitForEnd(pid, errors, output.get(), [&] {
        refresh();
        // What the program wrote before what is measured now is read first.
        errors.readAvailable();
        if (options.measure)
            options.measure(!errors.text().isEmpty());
        observe();
    });
    int status = 0;
    pid_t reaped;
    while ((reaped = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    running = 0;
    result.stopped = wasStopped;
    // A program left running in the background may hold a pipe open: take what is there.
    errors.readAvailable();
    result.exitCode = reaped == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errorOutput = QString::fromLocal8Bit(errors.text());
    if (output) {
        output->readAvailable();
        result.output = QString::fromLocal8Bit(output->text());
    }
    if (options.measure)
        options.measure(!errors.text().isEmpty());
    observe();
    return result;
}

namespace {

void measureTree(const QByteArray& path, TreeTotal& total, Job* job)
{
    struct stat info;
    if ((job && job->stopped()) || ::lstat(path.constData(), &info) != 0)
        return;
    ++total.entries;
    if (job)
        job->poll();
    if (S_ISREG(info.st_mode))
        total.bytes += info.st_size;
    else if (S_ISDIR(info.st_mode))
        for (const QByteArray& name : everyEntryName(path))
            measureTree(path + '/' + name, total, job);
}

}  // namespace

TreeTotal measureTrees(const QStringList& paths, Job* job)
{
    TreeTotal total;
    for (const QString& path : paths)
        measureTree(QFile::encodeName(path), total, job);
    return total;
}

TreeTotal WrittenSoFar::total()
{
    if (sinceWalk.isValid() && sinceWalk.elapsed() < 5 * walkMs)
        return last;
    QElapsedTimer walking;
    walking.start();
    last = measureTrees({folder});
    walkMs = walking.elapsed();
    sinceWalk.start();
    return last;
}
