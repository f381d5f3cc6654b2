#include "platform/zapplication.h"
#include "core/settings.h"
#include "core/text.h"
#include "viewer/image_viewer.h"

// The file manager names the image to show in "ImgFile".
int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    ImageViewer viewer(fromStoredBytes(iniRead("ImgFile")));
    viewer.show();
    return app.exec();
}
