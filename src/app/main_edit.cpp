#include "app/platform/zapplication.h"
#include "app/settings.h"
#include "app/text.h"
#include "editor/text_editor.h"

// The file manager names the file to edit in "TXTFile".
int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    TextEditor editor(fromStoredBytes(iniRead("TXTFile")));
    editor.show();
    return app.exec();
}
