#include "app/my_widget.h"

void My_Widget::menuSelect(int)
{
}
