#include "fuzz.h"

#include "viewer/image_view.h"

#include <QApplication>

// Input: up to three zooms and a quarter turn in one byte, then the file. Any file shows an image decoded
// at the size it is shown, or a message.
void fuzzOne(const QByteArray& input)
{
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("fuzz_image"), nullptr};
    static QApplication application(argc, argv);
    static ImageView view(nullptr);
    view.resize(240, 270);
    view.setFile(scratchFile(input.mid(1)));
    for (int step = 0; step < (choice(input) & 3); ++step)
        view.zoomIn();
    if (choice(input) & 4)
        view.rotate();
    const QImage& image = view.image();
    const int largest = qMin(ImageView::largestSide, int(270 * view.zoom()));
    check(image.isNull() ? !view.message().isEmpty() : qMax(image.width(), image.height()) <= largest,
          "an image at its shown size, or a message");
}
