#include "mainwindow/my_listbox.h"

#include <QMouseEvent>

My_ListBox::My_ListBox(QWidget* parent, unsigned int flags)
    : FileRowList(parent, flags)
{
}

void My_ListBox::mousePressEvent(QMouseEvent* event)
{
    FileRowList::mousePressEvent(event);
    if (event->type() == QEvent::MouseButtonPress)
        emit pressed();
}

// The press ends before the tap acts: a box the tap opens must not get a context menu on top.
void My_ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        emit released();
    FileRowList::mouseReleaseEvent(event);
}
