#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

class ZMessageBox
{
public:
    // Modal box with up to three buttons (a null text means no button).
    // Returns the index of the pressed button, or -1 when the box was closed otherwise.
    static int information(QWidget* parent, const QPixmap& icon, const QString& text,
                           const QString& button0, const QString& button1 = QString(),
                           const QString& button2 = QString(), int style = 1);

    // A notice that closes itself after the given seconds. It does not wait: the caller
    // goes on at once, and the notice stays on top of the window meanwhile.
    static void timerMessage(QWidget* parent, const QPixmap& icon, const QString& text, int seconds,
                             int style = 1);
};
