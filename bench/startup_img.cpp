// The image viewer as the file manager starts it, ending right after its first paint.
#include "platform/zapplication.h"
#include "core/settings.h"
#include "core/text.h"
#include "first_paint.h"
#include "viewer/image_viewer.h"

int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    ImageViewer viewer(fromStoredBytes(iniRead("ImgFile")));
    ExitAfterFirstPaint hook(&viewer);
    viewer.show();
    return app.exec();
}
