#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A file of the given size, modified the given number of seconds before the test began.
void makeFile(const QString& path, int size = 0, int ageSeconds = 0);

// A temporary working folder for one test: the program's settings files live in it,
// the phone's fixed folders point into it, and it is the current folder meanwhile.
class WorkFolder
{
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.path() + "/" + name; }

    // Writes raw bytes to a file of the working folder (creating its folders).
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    // "system.txt" of the given lines, each ended by "\r\n".
    void writeSettings(const QStringList& lines) const;

    // Makes a folder (and its parents) below the working folder; returns its path.
    QString makeFolder(const QString& relative) const;

private:
    QTemporaryDir dir;
    QString previousCurrent;
};
