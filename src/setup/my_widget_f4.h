#pragma once

#include "platform/zmainwidget.h"
#include "commands/message_layer.h"

#include <QString>

class QLabel;

// The "Button setup" window: asks for the handset's keys one at a time and stores the code
// of each key pressed in "system.txt", for the main window's next start.
class My_Widget_F4 : public ZMainWidget
{
    Q_OBJECT
public:
    explicit My_Widget_F4(QWidget* parent);

    // Every key event is consumed here; a key is recorded on its press.
    bool qwsEvent(QWSEvent* event) override;

public slots:
    void showDialog(QString text);
    // False when the value was not stored.
    bool iniWrite(QString key, QString value);

private:
    void record(int keyCode);

    // The button asked for, 1 to 9; 0 once all nine are recorded.
    int step = 1;
    QLabel* prompt = nullptr;
    MessageLayer messages;
};
