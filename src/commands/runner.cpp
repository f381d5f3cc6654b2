#include "commands/runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QWidget>

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

// A strip across the active window while a command runs.
class BusyIndicator
{
public:
    BusyIndicator()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (QWidget* window = busyWindow()) {
            label = new QLabel(QStringLiteral("Working..."), window);
            label->setObjectName("busyIndicator");
            label->setAlignment(Qt::AlignCenter);
            label->setAutoFillBackground(true);
            label->setStyleSheet("background: #ffe680; color: black;");
            label->setGeometry(0, window->height() / 2 - 12, window->width(), 24);
            label->show();
            label->raise();
        }
    }
    ~BusyIndicator()
    {
        delete label;
        QApplication::restoreOverrideCursor();
    }
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

private:
    QLabel* label = nullptr;
};

}  // namespace

QString quoted(const QString& text)
{
    QString word = text;
    word.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + word + QLatin1Char('\'');
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

QString failureMessage(const QString& subject, const CommandResult& result)
{
    const QString what = subject.isEmpty() ? QStringLiteral("Command") : "[" + subject + "]";
    return what + QStringLiteral(" failed!\n") + result.failureText();
}

CommandResult runCommand(const QString& commandLine)
{
    CommandResult result;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProgram(QStringLiteral("/bin/sh"));
    // The shell gets the command as UTF-8 bytes, as a file name is stored on disk.
    process.setArguments({QStringLiteral("-c"), commandLine});
    BusyIndicator busy;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start();
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process.error() == QProcess::FailedToStart)
        return result;
    result.started = true;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

bool startInBackground(const QString& program, const QStringList& arguments)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(program, arguments);
}
