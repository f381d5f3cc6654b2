#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// quoted(x): x as exactly one shell word, unchanged whatever bytes it holds.
QString quoted(const QString& text);

struct CommandResult {
    bool started = false;
    int exitCode = -1;
    QString errorOutput;  // what the program wrote to its standard error

    bool succeeded() const { return started && exitCode == 0; }
    // The first lines of the error output, or why the command did not run.
    QString failureText(int maxLines = 3) const;
};

// "[subject] failed!" and the first lines of the error output, for the message box.
QString failureMessage(const QString& subject, const CommandResult& result);

// Runs a command line through /bin/sh and waits for its end. Meanwhile the windows
// repaint and show that they are busy; input waits until the command has ended.
CommandResult runCommand(const QString& commandLine);

// Starts a program in the background with the given arguments, no shell involved.
// False when the program cannot be started (missing or not executable).
bool startInBackground(const QString& program, const QStringList& arguments = {});
