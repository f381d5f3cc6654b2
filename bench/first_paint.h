#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

// Ends the process once a window has been painted for the first time: the paint
// event starts the repaint of the whole window, the zero timer runs after it.
// Nothing is torn down, so the process's time is exec to first paint.
class ExitAfterFirstPaint : public QObject
{
public:
    explicit ExitAfterFirstPaint(QWidget* window) : watched(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!painted && event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget*>(object)->window() == watched) {
            painted = true;
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                _exit(0);
            });
        }
        return false;
    }

private:
    QWidget* watched;
    bool painted = false;
};
