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

SoftKey softKeyFor(int qtKey, bool mainWindow)
{
    switch (qtKey) {
    case Qt::Key_F1:
    case Qt::Key_Context1:
    case Qt::Key_Menu:
        return SoftKey::Left;
    case Qt::Key_F2:
    case Qt::Key_Context2:
        return SoftKey::Middle;
    case Qt::Key_F3:
    case Qt::Key_Context3:
        return SoftKey::Right;
    case Qt::Key_Escape:
    case Qt::Key_Back:
        return mainWindow ? SoftKey::None : SoftKey::Right;
    default:
        return SoftKey::None;
    }
}

bool isKeyEvent(const QWSEvent* event, int qtKey, bool* pressed)
{
    if (event->type != QWSEvent::Key)
        return false;
    const auto* key = static_cast<const QWSKeyEvent*>(event);
    *pressed = key->simpleData.is_press;
    return key->simpleData.keycode == oldToolkitKeyCode(qtKey);
}
