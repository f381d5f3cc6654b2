#include "platform/zapplication.h"
#include "core/settings.h"
#include "core/text.h"
#include "editor/text_editor.h"

// The file manager names the file to edit in "TXTFile".
int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    TextEditor editor(fromStoredBytes(iniRead("TXTFile")));
    editor.show();
    return app.exec();
}
