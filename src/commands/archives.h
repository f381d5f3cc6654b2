#pragma once

#include <QString>

class MessageLayer;

// Archive types: 0 TAR (".tar.gz"), 2 MTF (".mtf"), 1 MPKG (".mpkg"); all three are
// gzip-compressed tar archives.

// Packs the entry name of folder into folder, after asking; the folder is listed afterwards.
void packEntry(const MessageLayer& messages, const QString& folder, const QString& name, int archiveType);
// Packs a folder chosen in the folder picker, beside it or into a second chosen folder.
void packChosenFolder(const MessageLayer& messages, int archiveType);
// The question with "Ok", "Cancel" and "Folder": runs head + source + tail (pack flag 0) or
// packs the folder source beside itself; "Folder" runs with a chosen destination instead.
void packFolderAsked(const MessageLayer& messages, const QString& head, const QString& source,
                     const QString& tail, const QString& question, const QString& doneText, int packFlag,
                     int archiveType, QString subject = QString());

enum class ArchiveTool { Unrar, Unzip, Tar };
// Asks, unpacks archive into target with the tool and reports what came out. Entries of
// target that the archive would replace are named in a second question first.
void unpackArchive(const MessageLayer& messages, const QString& archive, ArchiveTool tool, const QString& target);
