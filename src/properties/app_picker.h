#pragma once

#include "platform/icons.h"
#include "properties/application_db.h"
#include "platform/listbox.h"

#include <QString>
#include <QStringList>

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

    // Keeps the applications that have a name, one row each.
    void stext(const Applications& applications);
    QStringList names() const;
    // The start command of the current row: "0" for an application on the card, which only
    // the Java runtime starts; null when there is no current row or it has nothing to start.
    QString Istr() const;
    // The current row's application; all fields null when there is none.
    Application current() const { return apps.value(currentItem()); }
    QString currentName() const { return current().name; }

protected:
    void paintCell(QPainter* painter, int row, int column) override;

private:
    Applications apps;
    QString cardBase;
    QString phoneBase;
    RES_ICON_Reader icons;
};

// The installed-applications picker: the start command of the chosen application, "0" for
// one that cannot be started this way, or a null string when cancelled or when the chosen
// application has no program to start (the user is told). Given a file, the desktop's
// applications for its type follow; one of them chosen is opened on the file here, and the
// result is null.
class F_Dialog
{
public:
    static QString getDirectory(const QString& file = QString());
};
