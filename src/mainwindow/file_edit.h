#pragma once

#include <QString>

// The name-entry dialog of New Folder and Rename.
class F_File_Edit
{
public:
    F_File_Edit() {}
    ~F_File_Edit() {}

    // Asks for a name under the title, starting from initial. The name never holds a
    // character a card's file system refuses; a null string means cancelled.
    static QString getDirectory(QString title, QString initial);
};
