#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The desktop's applications, read from its desktop entries ("*.desktop" under
// $XDG_DATA_HOME/applications and each $XDG_DATA_DIRS/applications) and its "mimeapps.list" files.

struct DesktopApplication {
    QString id;    // the file's path below "applications", "/" made "-"
    QString name;  // the plain Name key
    QString exec;  // the Exec key, its escapes undone
};

// The applications that take the file's type (by its name, else by its content) or one the
// type derives from: the defaults of "mimeapps.list" first, then the associations it adds, then
// the others by name. Entries marked NoDisplay or Hidden, and those it removes, are left out.
QList<DesktopApplication> desktopApplicationsFor(const QString& path);

// True when the file's type is plain text or derives from it.
bool isTextFile(const QString& path);

// An Exec line in arguments; each alternates literal text (even places) and a file code (odd
// places: "f" for the path, "u" for its URL). Other field codes are dropped; without a file code
// the path is added as a last argument. Empty when the line is not valid (an open quote).
QList<QStringList> execArguments(const QString& exec);
// The arguments with the file put in: its path, or its "file:" URL.
QStringList withFile(const QList<QStringList>& arguments, const QString& path);
