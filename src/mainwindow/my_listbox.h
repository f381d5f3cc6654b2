#pragma once

#include "commands/file_rows.h"

// The main window's file list: every row painted with its type's icon and its name.
// It says when a press on it begins and ends, for the window's long press.
class My_ListBox : public FileRowList
{
    Q_OBJECT
public:
    My_ListBox(QWidget* parent, unsigned int flags);

    using FileRowList::Istr;
    // The name of the current row; empty when the list has none.
    QString Istr() const { return Istr(currentItem()); }

signals:
    void pressed();
    void released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
