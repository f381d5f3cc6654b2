#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <set>
#include <utility>

#include <sys/types.h>

struct FolderEntry;

// A search's walk of folder trees, depth first, the entries of each folder by name with
// folders and files mixed. Links to folders are followed, but every real folder is entered
// once, so a link cycle ends and no file is found twice. A folder that cannot be read is
// passed over.
class FileWalk
{
public:
    using FileTest = std::function<bool(const FolderEntry& file)>;

    FileWalk(bool withHidden, FileTest accepts);

    // Walks one folder tree; the files accepted are added to those found so far.
    void walk(const QString& folder);
    // Ends the walk at the next entry; what was found stays.
    void stop() { stopped = true; }
    bool isStopped() const { return stopped; }

    // Called at the first folder and then every progressMs while the walk goes on.
    static constexpr int progressMs = 50;
    std::function<void()> onProgress;
    int foldersSeen() const { return folderCount; }
    int filesSeen() const { return fileCount; }

    // Every file found, its name followed by "$"; its folder at the same place in folders().
    // Names holding "$" are left out: the list would cut them.
    const QString& names() const { return foundNames; }
    const QStringList& folders() const { return foundFolders; }

private:
    void reportProgress();

    bool withHidden;
    FileTest accepts;
    bool stopped = false;
    std::set<std::pair<dev_t, ino_t>> entered;
    int folderCount = 0;
    int fileCount = 0;
    QElapsedTimer clock;
    qint64 nextProgress = 0;
    QString foundNames;
    QStringList foundFolders;
};
