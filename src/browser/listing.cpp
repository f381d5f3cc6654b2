#include "app/my_widget.h"

#include "app/platform/popupmenu.h"
#include "browser/my_listbox.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FolderEntry {
    QString name;
    QString lowerName;
    qint64 modified = 0;  // milliseconds, as the toolkit compares them
    qint64 size = 0;
    bool isDir = false;
};

// The names of a folder in the order QDir gives them for the filters and sort orders
// the main window uses: folders first, then by name, newest first or largest first,
// ties by name, case ignored. QDir builds a file info per entry and converts each time
// to local time at every comparison, which takes seconds for a big folder; here every
// entry is read once and its sort keys kept. False for flags this does not handle.
bool readFolder(const QString& path, QDir::Filters filter, QDir::SortFlags sort, QStringList* names)
{
    const QDir::Filters plain = QDir::AllEntries;
    if (filter != plain && filter != (plain | QDir::Hidden))
        return false;
    const QDir::SortFlags order = sort & ~(QDir::DirsFirst | QDir::IgnoreCase);
    if (!(sort & QDir::DirsFirst) || !(sort & QDir::IgnoreCase)
        || (order != QDir::Name && order != QDir::Time && order != QDir::Size))
        return false;
    const bool withHidden = filter & QDir::Hidden;
    const bool needStat = order != QDir::Name;

    names->clear();
    DIR* dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return true;  // an unreadable folder lists nothing
    const int dirFd = ::dirfd(dir);
    std::vector<FolderEntry> entries;
    while (const dirent* found = ::readdir(dir)) {
        const char* raw = found->d_name;
        if (raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0')))
            continue;  // the caller adds ".." itself
        if (raw[0] == '.' && !withHidden)
            continue;
        FolderEntry entry;
        struct stat info;
        bool haveInfo = false;
        unsigned char type = found->d_type;
        if (type == DT_UNKNOWN) {  // file systems that do not tell the type while reading
            if (::fstatat(dirFd, raw, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : S_ISLNK(info.st_mode) ? DT_LNK : DT_FIFO;
        }
        switch (type) {
        case DT_DIR:
            entry.isDir = true;
            break;
        case DT_REG:
            break;
        case DT_LNK:
            // What a link points to counts; a broken link is not listed.
            if (::fstatat(dirFd, raw, &info, 0) != 0)
                continue;
            haveInfo = true;
            entry.isDir = S_ISDIR(info.st_mode);
            break;
        default:
            continue;  // devices, pipes and sockets are not listed
        }
        if (needStat && !haveInfo) {
            if (::fstatat(dirFd, raw, &info, 0) != 0)
                continue;  // gone since it was read
        }
        if (needStat) {
            entry.modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            entry.size = qint64(info.st_size);
        }
        entry.name = QFile::decodeName(raw);
        entry.lowerName = entry.name.toLower();
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);

    auto byName = [](const FolderEntry& a, const FolderEntry& b) {
        const int c = a.lowerName.compare(b.lowerName);
        return c != 0 ? c < 0 : a.name < b.name;
    };
    if (order == QDir::Time) {
        std::sort(entries.begin(), entries.end(), [&byName](const FolderEntry& a, const FolderEntry& b) {
            if (a.isDir != b.isDir)
                return a.isDir;
            return a.modified != b.modified ? a.modified > b.modified : byName(a, b);
        });
    } else if (order == QDir::Size) {
        std::sort(entries.begin(), entries.end(), [&byName](const FolderEntry& a, const FolderEntry& b) {
            if (a.isDir != b.isDir)
                return a.isDir;
            return a.size != b.size ? a.size > b.size : byName(a, b);
        });
    } else {
        std::sort(entries.begin(), entries.end(), [&byName](const FolderEntry& a, const FolderEntry& b) {
            return a.isDir != b.isDir ? a.isDir : byName(a, b);
        });
    }
    names->reserve(int(entries.size()));
    for (FolderEntry& entry : entries)
        names->append(std::move(entry.name));
    return true;
}

}  // namespace

void My_Widget::disableRowItems()
{
    for (int item : {id.newTar, id.newMtf, id.newMpkg, id.copy, id.move, id.del, id.rename, id.extract})
        menuAction->setItemEnabled(item, false);
    menuContext->setItemEnabled(id.openText, false);
    menuContext->setItemEnabled(id.openIn, false);
    menuMain->setItemEnabled(id.extractMain, false);
}

// Lists a folder (absolute, or relative to the current one) or opens a file by its type.
void My_Widget::qListBox(QString path)
{
    rowIndex = 0;
    clickedName = "";
    disableRowItems();
    const QString fullPath = path.startsWith('/') ? path : folder.absolutePath() + "/" + path;
    if (!QFileInfo(fullPath).isDir()) {
        shell(fullPath);
        return;
    }
    folder.setPath(QDir::cleanPath(fullPath));
    list->clear();
    QStringList entries;
    if (!readFolder(folder.absolutePath(), folder.filter(), folder.sorting(), &entries))
        entries = folder.entryList();
    QStringList rows;
    rows.reserve(entries.size() + 1);
    if (folder.absolutePath() != "/")
        rows << "..";
    for (QString& name : entries) {
        if (name != "." && name != ".." && name != "diskb")
            rows << std::move(name);
    }
    list->appendNames(rows);
    list->Idir(folder.absolutePath());
    iniWrite("File", folder.absolutePath());
    list->setCurrentItem(0);
}
