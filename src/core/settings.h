#pragma once

#include <QString>
#include <QStringList>

// Settings files are lines of key::value. Lines are read one byte per character, so
// values come back as the UTF-8 bytes they were stored as (see toStoredBytes).

// The path of a file in the program's working folder.
QString workingFile(const QString& name);

// A line cut at its key's first "::": the key, then the value, which is everything after that
// "::" and may hold "::" itself (a path). Leading "::" are skipped; an empty piece is dropped.
QStringList settingPieces(const QString& line);

// The lines of a text file, "\r\n" or "\n" ended; opened is false when it cannot be read.
QStringList readSettingLines(const QString& path, bool* opened = nullptr);

// Replaces the whole file through a temporary file and a rename; a failed write
// leaves the old file as it was.
bool replaceFileText(const QString& path, const QString& text);

QString iniReadFile(const QString& path, const QString& key);
// A value stays one line: a line break in it would start a line of its own.
bool isStorableValue(const QString& value);
// Rewrites every line whose key matches; never adds a line. False when the value was not
// stored: no line holds the key, the key ends in ":", the value is not storable, or the write failed.
[[nodiscard]] bool iniWriteFile(const QString& path, const QString& key, const QString& value);

// The same on "system.txt" in the working folder: the one reader and the one writer of settings.
// Every caller checks the writer's answer.
QString iniRead(const QString& key);
[[nodiscard]] bool iniWrite(const QString& key, const QString& value);
