#include "commands/runner.h"

#include "commands/job.h"

#include <QFileInfo>
#include <QProcess>


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
    if (stopped)
        return QStringLiteral("stopped");
    if (lines.isEmpty() && exitCode == -1)
        return QStringLiteral("the command was ended by a signal");
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

CommandResult CommandResult::done()
{
    CommandResult result;
    result.started = true;
    result.exitCode = 0;
    return result;
}

QString failureMessage(const QString& subject, const CommandResult& result)
{
    const QString what = subject.isEmpty() ? QStringLiteral("Command") : "[" + subject + "]";
    if (result.stopped)
        return what + QStringLiteral(" stopped") + (result.errorOutput.isEmpty() ? QString() : "\n" + result.errorOutput);
    return what + QStringLiteral(" failed!\n") + result.failureText();
}

CommandResult runCommand(const QString& commandLine)
{
    // The shell gets the command as UTF-8 bytes, as a file name is stored on disk.
    return Job().run({QStringLiteral("/bin/sh"), QStringLiteral("-c"), commandLine});
}

bool startInBackground(const QString& program, const QStringList& arguments)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(program, arguments);
}
