#include "platform/keys.h"

#include <Qt>

int oldToolkitKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_Escape && qtKey < Qt::Key_Escape + 0x1000)
        return 0x1000 + (qtKey - Qt::Key_Escape);
    if (qtKey >= Qt::Key_Context1 && qtKey < Qt::Key_Context1 + 0x100)
        return 0x1100 + (qtKey - Qt::Key_Context1);
    return qtKey & 0xffff;
}

bool isKeyEvent(const QWSEvent* event, int qtKey, bool* pressed)
{
    if (event->type != QWSEvent::Key)
        return false;
    const auto* key = static_cast<const QWSKeyEvent*>(event);
    *pressed = key->simpleData.is_press;
    return key->simpleData.keycode == oldToolkitKeyCode(qtKey);
}
