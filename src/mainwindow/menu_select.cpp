#include "mainwindow/my_widget.h"

#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "mainwindow/my_listbox.h"
#include "commands/archives.h"
#include "mainwindow/file_edit.h"
#include "commands/opening.h"
#include "core/paths.h"
#include "commands/runner.h"
#include "commands/transfer.h"
#include "properties/app_picker.h"
#include "properties/file_widget.h"
#include "picker/folder_picker.h"
#include "search/search_widget.h"
#include "setup/my_widget_f4.h"
#include "setup/setup_widget.h"

#include <QFileInfo>

namespace {

// The window between the status bar and the bottom of the screen.
QRect normalFrame()
{
    const int d = UTIL_PushButton::defaultHeight;
    return QRect(0, d + 9, ZMainWidget::screenWidth, 311 - d);
}

// The selected row is an entry a command may act on.
bool isEntryName(const QString& name)
{
    return !name.isEmpty() && name != "." && name != "..";
}

// Copy or move of the selected row into a chosen folder. Nothing is replaced without asking,
// and a folder never goes into itself.
void transferSelected(My_Widget& window, Transfer operation)
{
    const QString here = window.currentFolder().absolutePath();
    const QString name = window.fileList()->Istr();
    if (!isEntryName(name))
        return;
    const QString dest = MyDialog::getDirectory();
    if (dest.isEmpty())
        return;
    const bool move = operation == Transfer::Move;
    const MessageLayer& messages = window.messageLayer();
    const TransferPlan plan = planTransfer(operation, joinPath(here, name), dest);
    if (plan.verdict == TransferPlan::Refuse)
        messages.show(plan.refusal);
    else if ((plan.verdict == TransferPlan::Run || messages.mayReplace(plan.target))
             && messages.ask(CN("are you sure ?") + name + (move ? CN(" move ") : CN(" copy ")) + dest) == 0)
        messages.report(runTransfer(plan), name + (move ? CN(" moved success") : CN(" Copy success!")), name);
    if (move)
        window.qListBox(here);
}

// The fixed folders are not there on every phone: the card may be out.
void listFixedFolder(My_Widget& window, const QString& label, const QString& path)
{
    if (QFileInfo(path).isDir())
        window.qListBox(path);
    else
        window.showDialog("[" + label + "] " + path + CN(" is not there"));
}

}  // namespace

void My_Widget::menuSelect(int item)
{
    const QString absPath = folder.absolutePath();
    const bool actsOnRow = QList<int>{id.newTar, id.newMtf, id.newMpkg, id.ctxCompres, id.extract, id.extractMain,
                                      id.rename, id.ctxRename, id.copy, id.ctxCopy, id.move, id.ctxMove, id.del,
                                      id.ctxDelete, id.openIn, id.openText, id.info}
                               .contains(item);
    if (actsOnRow && rowRefused())
        return;

    if (item == id.about) {
        showDialog(CN("Kestrel v1.1 E6/a1200"
                      "<br>A file manager for Linux phones with a 240 x 320 screen and three soft keys:"
                      " browse, copy, move, rename, delete, pack and unpack files and folders."
                      "<br>Free software under the GNU General Public License, version 2 or later."
                      "<br>It comes with no warranty."));
    } else if (item == id.copyFiles) {
        copyWindow = openMultiFileWindow("Copy files", Transfer::Copy);
    } else if (item == id.moveFiles) {
        moveWindow = openMultiFileWindow("move files", Transfer::Move);
    } else if (item == id.deleteFiles) {
        deleteWindow = openMultiFileWindow("del files", Transfer::Delete);
    } else if (item == id.packTar || item == id.packMtf || item == id.packMpkg) {
        packChosenFolder(messages, item == id.packTar ? 0 : item == id.packMtf ? 2 : 1);
    } else if (item == id.newTar || item == id.newMtf || item == id.newMpkg || item == id.ctxCompres) {
        const QString name = selectedName();
        if (isEntryName(name))
            packEntry(messages, absPath, name, item == id.newMtf ? 2 : item == id.newMpkg ? 1 : 0);
    } else if (item == id.extract || item == id.extractMain) {
        extractSelected();
    } else if (item == id.generalSetup) {
        menuSystem->setItemChecked(id.fullScreen, false);
        setGeometry(normalFrame());
        auto* setup = new SetupWidget(this);
        setup->setAttribute(Qt::WA_DeleteOnClose);
        setup->show();
    } else if (item == id.buttonSetup) {
        auto* buttonSetup = new My_Widget_F4(this);
        buttonSetup->setAttribute(Qt::WA_DeleteOnClose);
        buttonSetup->show();
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
    } else if (item == id.search) {
        auto* search = new Search_Widget(this);
        search->show();
        connect(search, &Search_Widget::onNeedGUI, this, &My_Widget::Fshell);
    } else if (item == id.hiddenFiles) {
        hiddenSetting = iniRead("Hide");
        const QString shown = hiddenSetting == "1" ? "0" : "1";
        folder.setFilter(listingFilter(shown));
        iniWrite("Hide", shown);
        qListBox(absPath);
    } else if (item == id.sdCard) {
        listFixedFolder(*this, CN("SD card"), phoneFolders().card);
    } else if (item == id.phoneDir) {
        listFixedFolder(*this, CN("Phone Dir"), phoneFolders().phoneDir);
    } else if (item == id.systemDir) {
        listFixedFolder(*this, CN("System Dir"), phoneFolders().systemDir);
    } else if (item == id.setupDir) {
        listFixedFolder(*this, CN("Setup Dir"), phoneFolders().setupDir);
    } else if (item == id.byName || item == id.byTime || item == id.bySize) {
        const int order = item == id.byName ? 0 : item == id.byTime ? 1 : 2;
        sortSetting = QString::number(order);
        folder.setSorting(listingSort(sortSetting));
        menuSort->setItemChecked(id.byName, order == 0);
        menuSort->setItemChecked(id.byTime, order == 1);
        menuSort->setItemChecked(id.bySize, order == 2);
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
        transferSelected(*this, Transfer::Copy);
    } else if (item == id.move || item == id.ctxMove) {
        transferSelected(*this, Transfer::Move);
    } else if (item == id.del || item == id.ctxDelete) {
        const QString name = selectedName();
        if (!isEntryName(name))
            return;
        const TransferPlan plan = planTransfer(Transfer::Delete, selectedPath(), QString());
        if (plan.verdict == TransferPlan::Refuse)
            showDialog(plan.refusal);
        else if (ask(CN("want to delete?    [") + name + CN("]\nremove can't reverse!")) == 0)
            report(runTransfer(plan), name + CN("\nDelete success"), name);
        qListBox(absPath);
    } else if (item == id.openText) {
        startWithFile(messages, "Edit", "TXTFile", selectedPath());
    } else if (item == id.openIn) {
        const QString app = F_Dialog::getDirectory();
        if (app.isEmpty())
            return;
        if (app == "0") {
            showDialog(CN("not used, JAVA is run"));
            return;
        }
        // Only a program that started is worth remembering for the file's type.
        if (!startInBackground(app, {"-d", selectedPath()})) {
            showDialog(CN("Cannot start [") + app + "]");
            return;
        }
        Wr(quoted(app), selectedPath());
    } else if (item == id.info) {
        if (!isEntryName(selectedName()))
            return;
        auto* properties = new FileWidget_W(this, selectedPath());
        properties->setAttribute(Qt::WA_DeleteOnClose);
        properties->show();
    }
}
