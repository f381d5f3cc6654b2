#include "mainwindow/my_widget.h"

#include "core/text.h"
#include "core/folder_reader.h"
#include "core/paths.h"
#include "core/phonefolders.h"
#include "mainwindow/my_listbox.h"

#include <QFileInfo>

#include <cerrno>

// Lists a folder (absolute, or relative to the current one) or opens a file by its type.
void My_Widget::qListBox(QString path)
{
    rowIndex = 0;
    clickedName = "";
    enableRowItems(false, false);  // until a row is chosen
    const QString fullPath = path.startsWith('/') ? path : joinPath(folder.absolutePath(), path);
    if (!QFileInfo(fullPath).isDir()) {
        const QString card = pulledCard(QDir::cleanPath(fullPath));
        if (card.isEmpty()) {
            shell(fullPath);
        } else {  // the card was pulled while shown
            qListBox(phoneFolders().diska);
            listPlace(CN("SD card"), card);
        }
        return;
    }
    folder.setPath(QDir::cleanPath(fullPath));
    list->clear();
    std::vector<FolderEntry> entries;
    const bool readable = readListing(folder, &entries);
    const int why = errno;
    if (folder.absolutePath() != "/")
        list->appendEntries({parentRow()});
    list->appendEntries(entries);
    list->Idir(folder.absolutePath());
    list->setCurrentItem(0);
    if (!readable) {
        showDialog("[" + fnames(folder.absolutePath()) + CN("] cannot be read: ") + errorText(why));
        return;
    }
    // The next start's folder is a convenience: a system.txt without the key, or one that
    // cannot be written, must not put a box in front of every listing.
    static_cast<void>(iniWrite("File", folder.absolutePath()));
}

bool My_Widget::rowRefused()
{
    if (!list->isUndecodable(list->currentItem()))
        return false;
    showDialog(notUtf8Refusal(list->Istr()));
    return true;
}
