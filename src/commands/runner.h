#pragma once

#include <QString>
#include <QStringList>

// quoted(x): x as exactly one shell word, unchanged whatever bytes it holds.
QString quoted(const QString& text);

struct CommandResult {
    bool started = false;
    bool stopped = false;  // ended by Stop
    int exitCode = -1;
    QString errorOutput;  // what the program wrote to its standard error
    QString output;       // its standard output, where the job kept it

    bool succeeded() const { return started && !stopped && exitCode == 0; }
    // A failure found by the program itself, told in the program's words.
    static CommandResult failedWith(const QString& why);
    // Work the program did itself, done.
    static CommandResult done();
    // The first lines of the error output, or why the command did not run.
    QString failureText(int maxLines = 3) const;
};

// "[subject] failed!" and the first lines of the error output, for the message box.
QString failureMessage(const QString& subject, const CommandResult& result);

// Runs a command line of the user's (an association, a program of the list) through /bin/sh as
// a job of its own.
CommandResult runCommand(const QString& commandLine);

// For tests: wait for a program's end as on a kernel without pidfd_open, by asking after the
// program now and then. Off by default.
void forceExitPollingForTests(bool force);

// Starts a program in the background with the given arguments, no shell involved.
// False when the program cannot be started (missing or not executable).
bool startInBackground(const QString& program, const QStringList& arguments = {});
