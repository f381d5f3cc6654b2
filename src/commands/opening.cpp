#include "app/my_widget.h"

#include "app/text.h"

void My_Widget::shell(QString)
{
    showDialog(CN("No associate programm"));
}

void My_Widget::Wr(QString, QString)
{
}
