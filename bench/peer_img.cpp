// The peer of the image viewer: the image decoded at full size and shown scaled to a
// window of the phone's size.
#include "first_paint.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull())
        return 1;
    QLabel label;
    label.setAlignment(Qt::AlignCenter);
    label.setPixmap(QPixmap::fromImage(image.scaled(240, 320, Qt::KeepAspectRatio)));
    label.resize(240, 320);
    ExitAfterFirstPaint hook(&label);
    label.show();
    return app.exec();
}
