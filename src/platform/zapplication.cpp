#include "platform/zapplication.h"

ZApplication::ZApplication(int& argc, char** argv, int)
    : QApplication(argc, argv)
{
}

void ZApplication::slotQuickQuit()
{
    quit();
}
