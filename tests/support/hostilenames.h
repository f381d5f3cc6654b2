#pragma once

#include <QStringList>

// File names a memory card can hold that break careless command lines.
inline QStringList hostileNames()
{
    return {
        "two words",
        "it's",
        "say \"hi\"",
        "$HOME",
        "$(touch INJECTED)",
        "`touch INJECTED`",
        "back\\slash",
        "new\nline",
        "-rf",
        "--checkpoint=1",
        "star*",
        "caf\u00e9 \u65e5\u672c",
        QString(127, QChar(0x00e9)) + "x",  // 255 bytes in UTF-8
    };
}
