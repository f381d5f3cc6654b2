// The peer of start-up and memory: one list of a folder's entries, folders first,
// by name with case ignored, in a window of the phone's size.
#include "first_paint.h"

#include <QDir>
#include <QListWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QListWidget list;
    list.addItems(QDir(QString::fromLocal8Bit(argv[1]))
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                 QDir::DirsFirst | QDir::IgnoreCase | QDir::Name));
    list.resize(240, 320);
    ExitAfterFirstPaint hook(&list);
    list.show();
    return app.exec();
}
