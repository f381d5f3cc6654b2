#include "mainwindow/my_widget.h"
#include "platform/zapplication.h"

int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    auto* window = new My_Widget(nullptr);
    if (!window->startedUp())
        return 0;
    window->show();
    const int status = app.exec();
    delete window;
    return status;
}
