#pragma once

#include <QList>
#include <QString>

// An application that can open a file, each field its own record's; a field the record
// lacks is empty.
struct Application {
    QString name;
    QString directory;
    QString type;  // "2" for the phone's own programs, "0" for downloaded ones, "desktop"
    QString exec;
};
using Applications = QList<Application>;

// The phone's four programs, always offered first.
Applications builtInApplications();
// Appends the records of an application database ("Key = value" lines); a file that cannot
// be read adds nothing.
void readApplicationDb(const QString& path, Applications& applications);
