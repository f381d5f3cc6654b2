#pragma once

#include <QString>

// The start-up password prompt.
class F_Login
{
public:
    // "1" when the stored password was typed and confirmed, otherwise a null string.
    static QString getDirectory();
};
