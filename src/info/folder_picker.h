#pragma once

#include <QString>

// The folder picker: a tree of the whole file system with "Select" and "Cancel".
class MyDialog
{
public:
    // The chosen folder without a trailing "/" ("/" for the root), or a null string.
    static QString getDirectory();
};
