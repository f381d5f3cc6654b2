#include "app/my_widget.h"

#include "app/platform/popupmenu.h"
#include "browser/folder_reader.h"
#include "browser/my_listbox.h"

#include <QFileInfo>

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
    readListing(folder, &entries);
    if (folder.absolutePath() != "/")
        entries.prepend("..");
    list->appendNames(entries);
    list->Idir(folder.absolutePath());
    iniWrite("File", folder.absolutePath());
    list->setCurrentItem(0);
}
