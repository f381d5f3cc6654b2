#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Runs work while no file written grows beyond bytes (0: no limit), as on a full card; a write
// past the limit fails instead of ending the test.
bool withFileSizeLimit(qint64 bytes, const std::function<bool()>& work);

// Writes a file (and the folders above it), modified the given milliseconds before the test began.
void writeFile(const QString& path, const QByteArray& bytes = {}, qint64 ageMs = 0);

// A temporary working folder for one test: the program's settings files live in it,
// the phone's fixed folders point into it, and it is the current folder meanwhile.
// Removable media are those its file "mounts" names under its folder "media".
class WorkFolder
{
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.path() + "/" + name; }
    void write(const QString& name, const QByteArray& bytes = {}) const { writeFile(file(name), bytes); }
    QByteArray read(const QString& name) const;
    // "system.txt" of the given lines, each ended by "\r\n".
    void writeSettings(const QStringList& lines) const;
    QString makeFolder(const QString& relative) const;
    // A program that appends its arguments, each followed by "|", and a line end to "log"
    // in the working folder; returns its path.
    QString recorder(const QString& relative) const;

private:
    QTemporaryDir dir;
    QString previousCurrent;
};
