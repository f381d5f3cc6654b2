// The text editor as the file manager starts it, ending right after its first paint.
#include "app/platform/zapplication.h"
#include "app/settings.h"
#include "app/text.h"
#include "editor/text_editor.h"
#include "first_paint.h"

int main(int argc, char** argv)
{
    ZApplication app(argc, argv, 1);
    TextEditor editor(fromStoredBytes(iniRead("TXTFile")));
    ExitAfterFirstPaint hook(&editor);
    editor.show();
    return app.exec();
}
