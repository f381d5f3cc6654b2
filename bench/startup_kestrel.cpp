// The program's own start-up, as in main_kestrel.cpp, ending after the first paint.
#include "mainwindow/my_widget.h"
#include "platform/zapplication.h"
#include "first_paint.h"

int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    auto* window = new My_Widget(nullptr);
    if (!window->startedUp())
        return 1;
    ExitAfterFirstPaint hook(window);
    window->show();
    return app.exec();
}
