#include "setup/my_widget_f4.h"

#include "platform/keys.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"

#include <QLabel>

namespace {

// The buttons in the order they are asked for, and the settings that keep their codes.
const char* const buttons[] = {"UP", "DOWN", "LEFT", "RIGHT", "OK", "A", "B", "C", "D"};
const char* const settingKeys[] = {"Key_Up", "Key_Down", "Key_Left", "Key_Right", "Key_Enter",
                                   "Key_A",  "Key_B",    "Key_C",    "Key_D"};
const int stepCount = 10;

QString promptFor(int step)
{
    if (step == 0)
        return CN("   button set complate\nto change button now\npres any key!");
    return CN(" press button [") + buttons[step - 1] + "]";
}

}  // namespace

My_Widget_F4::My_Widget_F4(QWidget* parent)
    : ZMainWidget(CN("Button setup"), true, parent, nullptr, {}),
      messages(this, "Dialog_Empty_Trash.gif")
{
    prompt = new QLabel(promptFor(step), this);
    prompt->setObjectName("main_label");
    prompt->setContentsMargins(4, 0, 4, 0);
    setContentWidget(prompt);

    auto* softKeys = new UTIL_CST(this, CN("       "), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
}

bool My_Widget_F4::qwsEvent(QWSEvent* event)
{
    if (event->type != QWSEvent::Key)
        return ZMainWidget::qwsEvent(event);
    const auto* key = static_cast<QWSKeyEvent*>(event);
    if (key->simpleData.is_press)
        record(key->simpleData.keycode);
    return true;
}

// After the last button, a press only starts the round again.
void My_Widget_F4::record(int keyCode)
{
    const int asked = step;
    step = (step + 1) % stepCount;
    prompt->setText(promptFor(step));
    if (asked == 0)
        return;
    const QString setting = settingKeys[asked - 1];
    if (!iniWrite(setting, QString::number(quint16(keyCode), 10)))
        showDialog(CN("Not saved: [") + buttons[asked - 1] + "] (" + setting
                   + CN(")\nsystem.txt has no line for it or cannot be written"));
}

void My_Widget_F4::showDialog(QString text)
{
    messages.show(text);
}

bool My_Widget_F4::iniWrite(QString key, QString value)
{
    return iniWriteFile(workingFile("system.txt"), key, value);
}
