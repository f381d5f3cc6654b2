#pragma once

#include "platform/icons.h"
#include "platform/listbox.h"

#include <QString>
#include <QStringList>

// The applications that can open a file, field by field: row i is element i of each list.
// A record that lacks a line puts the lists out of step; a missing element reads as empty.
struct Applications {
    QStringList names;
    QStringList directories;
    QStringList types;  // "2" for the phone's own programs, "0" for downloaded ones
    QStringList execs;
};

// The phone's four programs, always offered first.
Applications builtInApplications();
// Appends the records of an application database ("Key = value" lines); a file that cannot
// be read adds nothing.
void readApplicationDb(const QString& path, Applications& applications);

// A row of the application list; the list draws it.
class Sotr_ListBoxItem : public UTIL_ListBoxItem
{
public:
    explicit Sotr_ListBoxItem(UTIL_ListBox* list) : UTIL_ListBoxItem(list, QString(), false) {}
};

// The application list: the same game icon and the name on every row.
class Sotr_ListBox : public UTIL_ListBox
{
    Q_OBJECT
public:
    Sotr_ListBox(QWidget* parent, unsigned int flags);

    // Keeps the applications and makes one row per name.
    void stext(const Applications& applications);
    const QStringList& names() const { return apps.names; }
    // The start command of the current row: "0" for an application on the card, which only
    // the Java runtime starts; null when there is no current row or it has nothing to start.
    QString Istr() const;

protected:
    void paintCell(QPainter* painter, int row, int column) override;

private:
    Applications apps;
    QString cardBase;
    QString phoneBase;
    RES_ICON_Reader icons;
};

// The installed-applications picker: the start command of the chosen application, "0" for
// one that cannot be started this way, or a null string when cancelled.
class F_Dialog
{
public:
    static QString getDirectory();
};
