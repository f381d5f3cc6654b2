// The text editor as the file manager starts it, ending right after its first paint.
#include "platform/zapplication.h"
#include "core/settings.h"
#include "core/text.h"
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
