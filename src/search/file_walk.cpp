#include "search/file_walk.h"

#include "core/folder_reader.h"
#include "core/paths.h"

#include <QFile>

#include <algorithm>
#include <vector>

#include <sys/stat.h>

FileWalk::FileWalk(bool withHidden, FileTest accepts)
    : withHidden(withHidden), accepts(std::move(accepts))
{
    clock.start();
}

void FileWalk::walk(const QString& folder)
{
    struct stat info;
    if (stopped || ::stat(QFile::encodeName(folder).constData(), &info) != 0
        || !entered.insert({info.st_dev, info.st_ino}).second)
        return;
    std::vector<FolderEntry> entries;
    if (!readFolderEntries(folder, withHidden, false, &entries))
        return;
    ++folderCount;
    reportProgress();
    // Only the folders and the files found need the name order: most files are passed over
    // before it is taken, and entries are sorted by reference, being too big to move cheaply.
    std::vector<const FolderEntry*> kept;
    for (const FolderEntry& entry : entries) {
        if (!entry.validUtf8)
            continue;  // a look-alike name would stand for another entry, or for none
        if (!entry.isDir())
            ++fileCount;
        if (entry.isDir() || (canTravel(entry.name) && accepts(entry)))
            kept.push_back(&entry);
    }
    std::sort(kept.begin(), kept.end(), [](const FolderEntry* a, const FolderEntry* b) { return inNameOrder(*a, *b); });
    for (const FolderEntry* entry : kept) {
        if (stopped)
            return;
        if (entry->isDir()) {
            walk(joinPath(folder, entry->name));
        } else {
            foundNames += entry->name;
            foundNames += QLatin1Char('$');
            foundFolders << folder;
        }
    }
}

void FileWalk::reportProgress()
{
    if (!onProgress || clock.elapsed() < nextProgress)
        return;
    onProgress();
    nextProgress = clock.elapsed() + progressMs;
}
