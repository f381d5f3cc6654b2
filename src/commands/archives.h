#pragma once

#include <QString>

class MessageLayer;
struct CommandResult;
enum class FileKind;

// Archive types: 0 TAR (".tar.gz"), 2 MTF (".mtf"), 1 MPKG (".mpkg"); all three are
// gzip-compressed tar archives.

// Packs the entry name of folder into folder, after asking; the folder is listed afterwards.
void packEntry(const MessageLayer& messages, const QString& folder, const QString& name, int archiveType);
// Packs a folder the user chooses, beside it ("Ok") or into a second chosen folder ("Folder").
void packChosenFolder(const MessageLayer& messages, int archiveType);

enum class ArchiveTool { Unrar, Unzip, Tar };
// RAR and ZIP archives have their own programs; tar takes any other file.
ArchiveTool unpackingTool(FileKind kind);
// A failure made only of members the tool refused leaves every other member complete.
bool onlyMembersRefused(ArchiveTool tool, const CommandResult& result);
// Asks, unpacks archive into target with the tool and reports what came out. Entries of
// target that the archive would replace are named in a second question first.
void unpackArchive(const MessageLayer& messages, const QString& archive, ArchiveTool tool, const QString& target);
