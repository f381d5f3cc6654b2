#include "app/my_widget.h"

void My_Widget::packSelectedRow(int)
{
}

void My_Widget::packChosenFolder(int)
{
}

void My_Widget::extractSelected()
{
}

void My_Widget::extractOpened(const QString&)
{
}
