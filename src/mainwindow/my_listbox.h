#pragma once

#include "commands/file_rows.h"

class QTimer;

// The main window's file list: every row painted with its type's icon and its name.
// A press held on the list drives the long-press timer it is given.
class My_ListBox : public FileRowList
{
    Q_OBJECT
public:
    My_ListBox(QWidget* parent, unsigned int flags, QTimer* longPressTimer = nullptr);

    using FileRowList::Istr;
    // The name of the current row; empty when the list has none.
    QString Istr() const { return Istr(currentItem()); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTimer* pressTimer;
};
