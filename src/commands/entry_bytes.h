#pragma once

#include "commands/runner.h"

#include <QByteArray>
#include <QString>

// Rename and delete of an entry by the exact bytes of its name. A name that is not UTF-8
// cannot travel in a command line, so these two act in the program itself.

// Gives the entry of folder its new name; never replaces an entry that has that name.
CommandResult renameByBytes(const QString& folder, const QByteArray& name, const QString& newName);

// Removes the entry, a folder with everything in it; a link goes, not what it leads to.
CommandResult removeByBytes(const QString& folder, const QByteArray& name);
