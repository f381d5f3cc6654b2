#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class BusyProgress;
class BusyStrip;

// quoted(x): x as exactly one shell word, unchanged whatever bytes it holds.
QString quoted(const QString& text);

struct CommandResult {
    bool started = false;
    int exitCode = -1;
    QString errorOutput;  // what the program wrote to its standard error

    bool succeeded() const { return started && exitCode == 0; }
    // A failure found by the program itself, told in the program's words.
    static CommandResult failedWith(const QString& why);
    // The first lines of the error output, or why the command did not run.
    QString failureText(int maxLines = 3) const;
};

// "[subject] failed!" and the first lines of the error output, for the message box.
QString failureMessage(const QString& subject, const CommandResult& result);

// The command line run under a fixed locale, whatever the user's, for a program whose words
// Kestrel reads: its messages are then those Kestrel knows. A simple command only.
QString inFixedLocale(const QString& commandLine);

// Runs a command line through /bin/sh and waits for its end. Meanwhile the windows
// repaint and show that they are busy, in the progress handed over or else in a strip of
// the command's own; input waits until the command has ended.
CommandResult runCommand(const QString& commandLine, BusyProgress* progress = nullptr);

// For tests: wait for a command's end as on a kernel without pidfd_open, by asking after the
// program now and then. Off by default.
void forceExitPollingForTests(bool force);

// The busy strip of a long piece of work: it shows its text ("3 / 120: name"), and every command
// the progress is handed to shows there instead of in a strip of its own. Like a command's strip,
// it shows once the work has taken a moment (counted from the BusyProgress's start), so that quick
// batches do not flash it. Input stays blocked while a command runs, as for a single command.
class BusyProgress
{
public:
    BusyProgress();
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;

    // Shows the text and lets the window repaint at once.
    void step(const QString& text);

private:
    std::unique_ptr<BusyStrip> strip;
};

// Starts a program in the background with the given arguments, no shell involved.
// False when the program cannot be started (missing or not executable).
bool startInBackground(const QString& program, const QStringList& arguments = {});
