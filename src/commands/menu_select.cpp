#include "app/my_widget.h"

#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "app/settings.h"
#include "app/text.h"
#include "browser/my_listbox.h"
#include "commands/file_edit.h"
#include "commands/runner.h"
#include "info/folder_picker.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The window between the status bar and the bottom of the screen.
QRect normalFrame()
{
    const int d = UTIL_PushButton::defaultHeight;
    return QRect(0, d + 9, ZMainWidget::screenWidth, 311 - d);
}

// True for anything that holds the name, a link that leads nowhere included.
bool entryExists(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The selected row is an entry a command may act on.
bool isEntryName(const QString& name)
{
    return !name.isEmpty() && name != "." && name != "..";
}

// Copy or move of the selected row into a chosen folder. Nothing is replaced without asking,
// and a folder never goes into itself.
void transferSelected(My_Widget& window, bool move)
{
    QDir& folder = window.currentFolder();
    const QString name = window.fileList()->Istr();
    if (!isEntryName(name))
        return;
    const QString source = folder.absolutePath() + "/" + name;
    const QString dest = MyDialog::getDirectory();
    if (dest.isEmpty())
        return;
    const QString target = (dest == "/" ? QString() : dest) + "/" + name;
    const QFileInfo sourceInfo(source);

    QString refusal;
    if (canonical(dest) == canonical(folder.absolutePath()))
        refusal = "[" + name + CN("] is already in [") + dest + "]";
    else if (sourceInfo.isDir() && !sourceInfo.isSymLink()
             && (canonical(dest) == canonical(source) || canonical(dest).startsWith(canonical(source) + "/")))
        refusal = "[" + name + (move ? CN("] cannot be moved into itself") : CN("] cannot be copied into itself"));
    else if (entryExists(target) && !canonical(target).isEmpty() && canonical(target) == canonical(source))
        // Replacing the other name of the same file would destroy it.
        refusal = "[" + name + CN("] is already in [") + dest + "]";
    else if (entryExists(target) && !canonical(target).isEmpty()
             && canonical(source).startsWith(canonical(target) + "/"))
        // Removing the old entry would take the source with it.
        refusal = "[" + target + CN("] holds [") + name + CN("] and cannot be replaced by it");
    if (!refusal.isEmpty()) {
        window.showDialog(refusal);
        if (move)
            window.qListBox(folder.absolutePath());
        return;
    }

    QString command = (move ? "/bin/mv " : "/bin/cp -r ") + quoted(source) + " " + quoted(dest);
    if (entryExists(target)) {
        if (!window.mayReplace(target)) {
            if (move)
                window.qListBox(folder.absolutePath());
            return;
        }
        // cp -r and mv would put a folder inside the old one of the same name: remove it first.
        command = "/bin/rm -f -r " + quoted(target) + " && " + command;
    }
    if (move) {
        window.Fcmd(CN("are you sure ?") + name + CN(" move ") + dest, command, name + CN(" moved success"), name);
        window.qListBox(folder.absolutePath());
    } else {
        window.Fcmd(CN("are you sure ?") + name + CN(" copy ") + dest, command, name + CN(" Copy success!"), name);
    }
}

}  // namespace

void My_Widget::menuSelect(int item)
{
    const QString absPath = folder.absolutePath();

    if (item == id.about) {
        showDialog(CN("Kestrel v1.1 E6/a1200"
                      "<br>A file manager for Linux phones with a 240 x 320 screen and three soft keys:"
                      " browse, copy, move, rename, delete, pack and unpack files and folders."
                      "<br>Free software under the GNU General Public License, version 2 or later."
                      "<br>It comes with no warranty."));
    } else if (item == id.packTar || item == id.packMtf || item == id.packMpkg) {
        packChosenFolder(item == id.packTar ? 0 : item == id.packMtf ? 2 : 1);
    } else if (item == id.newTar || item == id.newMtf || item == id.newMpkg || item == id.ctxCompres) {
        packSelectedRow(item == id.newMtf ? 2 : item == id.newMpkg ? 1 : 0);
    } else if (item == id.extract || item == id.extractMain) {
        extractSelected();
    } else if (item == id.fullScreen) {
        windowSetting = iniRead("window");
        if (windowSetting == "0") {
            menuSystem->setItemChecked(id.fullScreen, true);
            setGeometry(0, 0, screenWidth, screenHeight);
            iniWrite("window", "1");
        } else {
            menuSystem->setItemChecked(id.fullScreen, false);
            setGeometry(normalFrame());
            iniWrite("window", "0");
        }
    } else if (item == id.hiddenFiles) {
        hiddenSetting = iniRead("Hide");
        if (hiddenSetting == "1") {
            folder.setFilter(QDir::Dirs | QDir::Files | QDir::Drives);
            iniWrite("Hide", "0");
        } else {
            folder.setFilter(QDir::Dirs | QDir::Files | QDir::Drives | QDir::Hidden);
            iniWrite("Hide", "1");
        }
        qListBox(absPath);
    } else if (item == id.sdCard) {
        qListBox(phoneFolders().card);
    } else if (item == id.phoneDir) {
        qListBox(phoneFolders().phoneDir);
    } else if (item == id.systemDir) {
        qListBox(phoneFolders().systemDir);
    } else if (item == id.setupDir) {
        qListBox(phoneFolders().setupDir);
    } else if (item == id.byName || item == id.byTime || item == id.bySize) {
        const int order = item == id.byName ? 0 : item == id.byTime ? 1 : 2;
        folder.setSorting(QDir::SortFlags(order) | QDir::DirsFirst | QDir::IgnoreCase);
        menuSort->setItemChecked(id.byName, order == 0);
        menuSort->setItemChecked(id.byTime, order == 1);
        menuSort->setItemChecked(id.bySize, order == 2);
        sortSetting = QString::number(order);
        iniWrite("Taxis", sortSetting);
        qListBox(absPath);
    } else if (item == id.newFolder) {
        renameSource = "";
        QString suffix;
        int i = 0;
        for (; i < 20; ++i) {
            suffix = i == 0 ? QString() : "(" + QString::number(i) + ")";
            if (!entryExists(absPath + "/" + CN("New Folder") + suffix))
                break;
        }
        if (i == 20)
            return;
        const QString name = F_File_Edit::getDirectory(CN("New Folder"), CN("New Folder") + suffix);
        if (name.isEmpty())
            return;
        report(runCommand("/bin/mkdir " + quoted(absPath + "/" + name)),
               CN("Creat folder [") + name + CN("] success!"), name);
        qListBox(absPath);
    } else if (item == id.rename || item == id.ctxRename) {
        const QString name = selectedName();
        if (!isEntryName(name))
            return;
        renameSource = selectedPath();
        const QString newName = F_File_Edit::getDirectory(CN("[") + name + CN("] to "), name);
        if (newName.isEmpty() || newName == name)
            return;
        const QString target = absPath + "/" + newName;
        if (entryExists(target)) {
            showDialog("[" + newName + CN("] already exists"));
            return;
        }
        report(runCommand("/bin/mv " + quoted(renameSource) + " " + quoted(target)),
               CN(" rename to [ ") + newName + CN("] success!"), name);
        qListBox(absPath);
    } else if (item == id.copy || item == id.ctxCopy) {
        transferSelected(*this, false);
    } else if (item == id.move || item == id.ctxMove) {
        transferSelected(*this, true);
    } else if (item == id.del || item == id.ctxDelete) {
        const QString name = selectedName();
        if (!isEntryName(name))
            return;
        // rm -f would call a vanished entry deleted.
        if (!entryExists(selectedPath())) {
            showDialog("[" + name + CN("] no longer exists"));
            qListBox(absPath);
            return;
        }
        Fcmd(CN("want to delete?    [") + name + CN("]\nremove can't reverse!"), "/bin/rm -f -r " + quoted(selectedPath()),
             name + CN("\nDelete success"), name);
        qListBox(absPath);
    } else if (item == id.openText) {
        iniWrite("TXTFile", selectedPath());
        const QString editor = workingFile("Edit");
        if (!startInBackground(editor))
            showDialog(CN("Cannot start [") + editor + "]");
    }
}
