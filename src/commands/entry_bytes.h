#pragma once

#include "commands/runner.h"

#include <QByteArray>
#include <QString>

// Rename and delete of an entry by the exact bytes of its name, in the program itself: a name
// that is not UTF-8 cannot travel in a command line, and a rename is decided at the act.

// Gives the entry of folder its new name; never replaces an entry that has that name.
CommandResult renameByBytes(const QString& folder, const QByteArray& name, const QString& newName);

// Removes the entry, a folder with everything in it; a link goes, not what it leads to.
CommandResult removeByBytes(const QString& folder, const QByteArray& name);

// Makes the folder; never takes an entry of that name for it.
CommandResult makeFolder(const QString& path);

// Puts the entry at from under the path to, never replacing an entry there: 0, or the error
// (EEXIST when the name is taken, also when it was taken a moment before).
int renameWithoutReplacing(const QByteArray& from, const QByteArray& to);
// The two entries change places, each under the other's name: 0, or the error (ENOENT when one
// is gone). Where the file system cannot swap, three renames through a hidden name do it.
int exchangeEntries(const QByteArray& a, const QByteArray& b);

// Puts from at to by a rename that never replaces, or, where the user agreed to replace, by
// swapping the two, which leaves the old entry at from. 0, EEXIST for an entry that appeared
// since the question, or the error.
int putInPlace(const QByteArray& from, const QByteArray& to, bool mayReplace, bool* swapped);

// Removes path and everything below it; 0, or the error of the first entry that stayed, as with
// rm -rf. openFolders first gives each folder its owner's rights, as the program's own scratch
// folders need whatever an archive gave them.
int removeTree(const QByteArray& path, bool openFolders = false);
