#pragma once

#include <QApplication>

class ZApplication : public QApplication
{
    Q_OBJECT
public:
    // The phone's application type 1 is a GUI client; every application here is one.
    ZApplication(int& argc, char** argv, int type = 1);

public slots:
    void slotQuickQuit();
};
