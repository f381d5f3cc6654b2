// The peer of the editor: a file read as UTF-8 into a plain-text editor widget of the
// phone's size.
#include "first_paint.h"

#include <QFile>
#include <QPlainTextEdit>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QPlainTextEdit editor;
    editor.setPlainText(QString::fromUtf8(file.readAll()));
    editor.resize(240, 320);
    ExitAfterFirstPaint hook(&editor);
    editor.show();
    return app.exec();
}
