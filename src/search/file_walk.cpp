#include "search/file_walk.h"

#include "browser/folder_reader.h"
#include "commands/paths.h"

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
    // Sorted by reference: an entry is too big to move around cheaply.
    std::vector<const FolderEntry*> order;
    order.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        order.push_back(&entry);
    std::sort(order.begin(), order.end(), [](const FolderEntry* a, const FolderEntry* b) { return inNameOrder(*a, *b); });
    for (const FolderEntry* each : order) {
        const FolderEntry& entry = *each;
        if (stopped)
            return;
        if (entry.undecodable)
            continue;  // a look-alike name would stand for another entry, or for none
        if (entry.isDir) {
            walk(joinPath(folder, entry.name));
            continue;
        }
        ++fileCount;
        if (canTravel(entry.name) && accepts(entry)) {
            foundNames += entry.name;
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
