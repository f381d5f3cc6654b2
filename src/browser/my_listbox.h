#pragma once

#include "app/platform/listbox.h"
#include "browser/fileicons.h"

#include <QStringList>

class QTimer;

// A row of the file list: a place holder whose index is the key into the names.
class My_ListBoxItem : public UTIL_ListBoxItem
{
public:
    explicit My_ListBoxItem(UTIL_ListBox* list = nullptr)
        : UTIL_ListBoxItem(list, QString(), false)
    {
    }
    bool checked = false;
};

// The main window's file list: every row painted with its type's icon and its name.
// A press held on the list drives the long-press timer it is given.
class My_ListBox : public UTIL_ListBox
{
    Q_OBJECT
public:
    My_ListBox(QWidget* parent, unsigned int flags, QTimer* longPressTimer = nullptr);

    // Appends one row per name of a "$"-separated list.
    void stext(const QString& list);
    // Appends one row per name; a name may hold any character, "$" included.
    void appendNames(const QStringList& entryNames);
    QString Istr() const;
    void Idir(const QString& path) { folderPath = path; }
    const QStringList& names() const { return rowNames; }

public slots:
    QPixmap Wico(const QString& name);
    QPixmap Dico(QString name);

protected:
    void paintCell(QPainter* painter, int row, int column) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    FileIcons icons;
    QStringList rowNames;
    QString folderPath;
    QTimer* pressTimer;
};
