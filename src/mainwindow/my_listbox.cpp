#include "mainwindow/my_listbox.h"

#include "mainwindow/my_widget.h"

#include <QMouseEvent>
#include <QTimer>

My_ListBox::My_ListBox(QWidget* parent, unsigned int flags, QTimer* longPressTimer)
    : FileRowList(parent, flags), pressTimer(longPressTimer)
{
}

void My_ListBox::mousePressEvent(QMouseEvent* event)
{
    FileRowList::mousePressEvent(event);
    if (pressTimer && !pressTimer->isActive() && event->type() == QEvent::MouseButtonPress) {
        TN = 0;
        pressTimer->start(100);
    }
}

// The press ends before the tap acts: a box the tap opens must not get a context menu on top.
void My_ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (pressTimer && event->type() == QEvent::MouseButtonRelease)
        pressTimer->stop();
    FileRowList::mouseReleaseEvent(event);
}
