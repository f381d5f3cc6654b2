#pragma once

#include "commands/runner.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include <sys/types.h>

class BusyStrip;
class QPushButton;
class StopInput;

// How a program of a job runs.
struct ProgramOptions {
    bool fixedLocale = false;   // for a program whose words Kestrel reads
    bool keepOutput = false;    // keep what it writes to its standard output
    // Asked a few times a second while the program runs, and once after it ended; told whether
    // the program has written to its error output so far.
    std::function<void(bool errorsSoFar)> measure;
};

// Long work the user sees and can stop. While a job lives, the window goes on painting, input
// is dropped but for Stop (the right soft key, which reads "Stop", and Escape), and after half a
// second a strip shows how far the work has come, at most five times a second.
class Job
{
public:
    Job();
    ~Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // What the whole work comes to, measured before it starts; zero where unknown.
    void setTotal(qint64 entries, qint64 bytes);
    // "12 / 120 · 340 MB of 1.2 GB · name".
    void progress(qint64 entries, qint64 bytes, const QString& name);
    // Free text for work that has no count, such as a walk.
    void show(const QString& text);

    void stop();
    bool stopped() const { return wasStopped; }
    qint64 entriesDone() const { return doneEntries; }
    qint64 bytesDone() const { return doneBytes; }
    // The program running now, 0 when none.
    pid_t program() const { return running; }

    // Lets the window paint and Stop arrive, for work done in the program itself. Cheap enough
    // to call for every entry of a walk.
    void poll();

    // Runs a program with its arguments, no shell, in a process group of its own, and waits for
    // its end; Stop ends the whole group and the result says it was stopped.
    CommandResult run(const QStringList& arguments, const ProgramOptions& options = {});

    // For tests: called at every step of every job (progress, measure, poll), as Stop would
    // be pressed at that moment.
    static void setObserverForTests(std::function<void(Job&)> observer);

private:
    void refresh();
    void observe();

    std::unique_ptr<BusyStrip> strip;
    std::unique_ptr<StopInput> input;
    QPointer<QPushButton> stopKey;
    QString stopKeyText;
    QElapsedTimer sinceStart, sincePoll;
    qint64 lastShownMs = -1000;
    qint64 totalEntries = 0, totalBytes = 0, doneEntries = 0, doneBytes = 0;
    QString text;
    bool wasStopped = false;
    pid_t running = 0;
};

// Entries and bytes of regular files under paths, links not followed. With a job, the window
// paints meanwhile and Stop ends the walk early.
struct TreeTotal {
    qint64 entries = 0;
    qint64 bytes = 0;
};
TreeTotal measureTrees(const QStringList& paths, Job* job = nullptr);

// What a program has written into a folder so far, for its progress. A walk of a big tree costs
// time: the folder is walked again only once five times that long has passed.
class WrittenSoFar
{
public:
    explicit WrittenSoFar(const QString& folder) : folder(folder) {}
    TreeTotal total();

private:
    QString folder;
    QElapsedTimer sinceWalk;
    qint64 walkMs = 0;
    TreeTotal last;
};

// "340 MB", "1.2 GB".
QString shownBytes(qint64 bytes);
