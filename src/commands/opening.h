#pragma once

#include <QString>

class MessageLayer;

// Opens a regular file (or a link to one) by its type: every association of "setup.txt" that
// lists its extension (fileExtension), else the built-in rules (Java archive, archive unpacked into
// unpackFolder, "lin" program, image), else "No associate programm". Anything that is not a
// regular file gets a message.
void openByType(const MessageLayer& messages, const QString& path, const QString& unpackFolder);

// Records command as the association of the file's extension in "setup.txt", when that
// file exists; a line for that extension alone is replaced. An extension that cannot be a key
// of that file (it holds ":", "$" or a line break) is not recorded, and the user is told.
void recordAssociation(const MessageLayer& messages, const QString& command, const QString& file);

// Starts a program of the working folder in the background, handing it the file through the
// settings key it reads ("TXTFile" for Edit, "ImgFile" for Img); refused with a message when
// the key cannot be written.
void startWithFile(const MessageLayer& messages, const QString& program, const QString& key, const QString& path);
