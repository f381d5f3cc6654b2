#pragma once

#include <QString>

class MessageLayer;
struct DesktopApplication;

// Opens a regular file (or a link to one) by its type: every association of "setup.txt" that
// lists its extension (fileExtension), else the built-in rules (Java archive, archive unpacked into
// unpackFolder, "lin" program, image), else plain text in Edit, else "No associate programm",
// offering the desktop's first application for the type when there is one. Anything that is not
// a regular file gets a message.
void openByType(const MessageLayer& messages, const QString& path, const QString& unpackFolder);

// "Open in" a desktop application: started on the file without a shell and, when it started,
// recorded for the file's extension as a command that starts it the same way.
void openInDesktopApplication(const MessageLayer& messages, const DesktopApplication& application, const QString& path);

// Records command as the association of the file's extension in "setup.txt", when that
// file exists; a line for that extension alone is replaced. An extension that cannot be a key
// of that file (it holds ":", "$" or a line break), or a command holding a line break, is not
// recorded, and the user is told.
void recordAssociation(const MessageLayer& messages, const QString& command, const QString& file);

// Starts a program of the working folder in the background, handing it the file through the
// settings key it reads ("TXTFile" for Edit, "ImgFile" for Img); refused with a message when
// the key cannot be written.
void startWithFile(const MessageLayer& messages, const QString& program, const QString& key, const QString& path);
