#include "app/platform/keys.h"

#include <Qt>

int oldToolkitKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_Escape && qtKey < Qt::Key_Escape + 0x1000)
        return 0x1000 + (qtKey - Qt::Key_Escape);
    if (qtKey >= Qt::Key_Context1 && qtKey < Qt::Key_Context1 + 0x100)
        return 0x1100 + (qtKey - Qt::Key_Context1);
    return qtKey & 0xffff;
}
