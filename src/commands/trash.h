#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The desktop's shared trash, which other file managers read too: an entry deleted is renamed
// into the trash of its own file system with a record of where it came from, so that it can be
// put back. The home trash serves the home's file system; another file system (the card) has
// its trash at its top folder.

// The path as a record stores it: every byte but letters, digits, "-_.!~*'()" and "/" as %XX.
QByteArray encodeTrashPath(const QByteArray& path);
// The bytes back; false for an escape that is not one.
bool decodeTrashPath(const QByteArray& encoded, QByteArray* path);

// One entry a trash holds.
struct TrashedEntry {
    QString trash;          // the trash folder, holding files/ and info/
    QByteArray name;        // the entry's name in files/; its record is info/name.trashinfo
    QByteArray original;    // where it came from; empty when its record is damaged or missing
    QDateTime deleted;      // invalid when unknown

    bool damaged() const { return original.isEmpty(); }
    QByteArray filePath() const;
    QByteArray infoPath() const;
    // The entry's name where it came from, for the user; its name in the trash when damaged.
    QString shownName() const;
    QString originalFolder() const;
};

// The trash of the file system path lies on (an entry, or the folder it is in): the home trash on the home's file system, else the top
// folder's ".Trash/UID" (only where ".Trash" is a real folder with the sticky bit) or else its
// ".Trash-UID". Empty when none can be used, as on a read-only card. With create, a trash that
// is not there yet is made; without, it only has to be one that could be made.
QString trashFor(const QByteArray& path, bool create);

// Moves the entry into the trash (made, as trashFor() with create gives it) by a rename, after
// its record is written: 0 and what it became, or the error.
int moveToTrash(const QByteArray& path, const QString& trash, TrashedEntry* trashed);

// Puts the entry back where it came from, making the folders that are gone. An entry that has
// the name there is kept (EEXIST), unless replace: then the two change places, and what stood
// there is in the trash instead, nothing lost. 0 or the error.
int restoreFromTrash(const TrashedEntry& entry, bool replace);

// Why restoreFromTrash() left the entry in the trash, for the user.
QString notRestoredText(const TrashedEntry& entry, int error);

// Removes the entry and its record for good: 0 or the error.
int removeFromTrash(const TrashedEntry& entry);

// What every trash holds, newest first: the home trash and the trashes of the mounted file
// systems. A record without its entry is left out; an entry without a readable record is listed
// as damaged.
QList<TrashedEntry> trashedEntries();
