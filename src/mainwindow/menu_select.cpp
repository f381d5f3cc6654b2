// The main window's menus: one table gives every item its menu, label, handler and what it
// needs of the current row; the menus, the dispatch and the greying of items all read it.
#include "mainwindow/my_widget.h"

#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "mainwindow/my_listbox.h"
#include "commands/archives.h"
#include "commands/entry_bytes.h"
#include "mainwindow/file_edit.h"
#include "trash/trash_window.h"
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

// One row of a menu: no label makes a separator, a submenu makes a row that only opens it.
// An item that needs a row is refused on the parent row, on no row and on a name that is
// not UTF-8, unless it acts on the entry's exact bytes (byBytes). Entry and File items are
// also greyed while the row is not an entry or not a file; Row items (the context menu's)
// stay as they are.
struct My_Widget::MenuItem {
    PopupMenu* My_Widget::*menu;
    const char* label = nullptr;
    int MenuIds::*id = nullptr;
    void (*act)(My_Widget&) = nullptr;
    Needs needs = Needs::Nothing;
    PopupMenu* My_Widget::*submenu = nullptr;
    bool byBytes = false;
};

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
        messages.report(runTransfer(plan, true), name + (move ? CN(" moved success") : CN(" Copy success!")), name);
    if (move)
        window.qListBox(here);
}

// A window of its own on top of this one, gone when closed.
void showOnTop(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

const char aboutText[] = "Kestrel v1.1"
                         "<br>A file manager for Linux phones with a 240 x 320 screen and three soft keys:"
                         " browse, copy, move, rename, delete, pack and unpack files and folders."
                         "<br>Free software under the GNU General Public License, version 2 or later."
                         "<br>It comes with no warranty.";

}  // namespace

const std::vector<My_Widget::MenuItem>& My_Widget::menuItems()
{
    const auto Main = &My_Widget::menuMain, Compres = &My_Widget::menuCompres, System = &My_Widget::menuSystem,
               Folders = &My_Widget::menuFolders, Sort = &My_Widget::menuSort, Action = &My_Widget::menuAction,
               Context = &My_Widget::menuContext;
    using M = MenuIds;
    using W = My_Widget&;
    static const std::vector<MenuItem> items = {
        {Main, "About", &M::about, [](W w) { w.showDialog(CN(aboutText)); }},
        {Main},
        {Main, "Copy", &M::copyFiles, [](W w) { w.copyWindow = w.openMultiFileWindow("Copy files", Transfer::Copy); }},
        {Main, "Move", &M::moveFiles, [](W w) { w.moveWindow = w.openMultiFileWindow("move files", Transfer::Move); }},
        {Main, "Delete", &M::deleteFiles, [](W w) { w.deleteWindow = w.openMultiFileWindow("del files", Transfer::Delete); }},
        {Main},
        {Main, "Compres", &M::compres, nullptr, Needs::Nothing, Compres},
        {Main, "Extract", &M::extractMain, [](W w) { w.extractSelected(); }, Needs::File},
        {Main, "Plugin", &M::plugin, nullptr, Needs::Nothing, &My_Widget::menuPlugin},
        {Main},
        {Main, "System", &M::system, nullptr, Needs::Nothing, System},
        {Main, "Folders", &M::folders, nullptr, Needs::Nothing, Folders},
        {Main, "Sort", &M::sort, nullptr, Needs::Nothing, Sort},

        {Compres, "new TAR", &M::packTar, [](W w) { packChosenFolder(w.messages, 0); }},
        {Compres, "new MTF", &M::packMtf, [](W w) { packChosenFolder(w.messages, 2); }},
        {Compres, "new MPKG", &M::packMpkg, [](W w) { packChosenFolder(w.messages, 1); }},

        {System, "General setup", &M::generalSetup, [](W w) { w.openGeneralSetup(); }},
        {System, "Button setup", &M::buttonSetup, [](W w) { showOnTop(new My_Widget_F4(&w)); }},
        {System, "Full screen", &M::fullScreen, [](W w) { w.toggleFullScreen(); }},
        {System, "Search", &M::search, [](W w) { w.openSearch(); }},
        {System, "Hidden files", &M::hiddenFiles, [](W w) { w.toggleHiddenFiles(); }},

        {Folders, "SD card", &M::sdCard, [](W w) { w.listPlace(CN("SD card"), phoneFolders().card); }},
        {Folders, "Phone Dir", &M::phoneDir, [](W w) { w.listPlace(CN("Phone Dir"), phoneFolders().phoneDir); }},
        {Folders, "System Dir", &M::systemDir, [](W w) { w.listPlace(CN("System Dir"), phoneFolders().systemDir); }},
        {Folders, "Setup Dir", &M::setupDir, [](W w) { w.listPlace(CN("Setup Dir"), phoneFolders().setupDir); }},
        {Folders, "Trash", &M::trash, [](W w) { showOnTop(new TrashWindow(&w)); }},

        {Sort, "by Name", &M::byName, [](W w) { w.sortBy("0"); }},
        {Sort, "by Time", &M::byTime, [](W w) { w.sortBy("1"); }},
        {Sort, "by Size", &M::bySize, [](W w) { w.sortBy("2"); }},

        {Action, "new TAR", &M::newTar, [](W w) { w.packSelected(0); }, Needs::Entry},
        {Action, "new MTF", &M::newMtf, [](W w) { w.packSelected(2); }, Needs::Entry},
        {Action, "new MPKG", &M::newMpkg, [](W w) { w.packSelected(1); }, Needs::Entry},
        {Action},
        {Action, "New Folder", &M::newFolder, [](W w) { w.newFolder(); }},
        {Action, "Rename", &M::rename, [](W w) { w.renameSelected(); }, Needs::Entry, nullptr, true},
        {Action},
        {Action, "Copy", &M::copy, [](W w) { transferSelected(w, Transfer::Copy); }, Needs::Entry},
        {Action, "Move", &M::move, [](W w) { transferSelected(w, Transfer::Move); }, Needs::Entry},
        {Action},
        {Action, "Del", &M::del, [](W w) { w.deleteSelected(); }, Needs::Entry, nullptr, true},
        {Action},
        {Action, "Extract", &M::extract, [](W w) { w.extractSelected(); }, Needs::File},

        {Context, "Open in", &M::openIn, [](W w) { w.openSelectedIn(); }, Needs::File},
        {Context},
        {Context, "Open Text", &M::openText, [](W w) { w.openSelectedAsText(); }, Needs::File},
        {Context},
        {Context, "Copy", &M::ctxCopy, [](W w) { transferSelected(w, Transfer::Copy); }, Needs::Row},
        {Context, "Move", &M::ctxMove, [](W w) { transferSelected(w, Transfer::Move); }, Needs::Row},
        {Context, "Compres", &M::ctxCompres, [](W w) { w.packSelected(0); }, Needs::Row},
        {Context, "Rename", &M::ctxRename, [](W w) { w.renameSelected(); }, Needs::Row, nullptr, true},
        {Context},
        {Context, "Delete", &M::ctxDelete, [](W w) { w.deleteSelected(); }, Needs::Row, nullptr, true},
        {Context},
        {Context, "Info...", &M::info, [](W w) { showOnTop(new FileWidget_W(&w, w.selectedPath())); }, Needs::Row},
    };
    return items;
}

void My_Widget::buildMenus()
{
    menuCompres = new PopupMenu(this);
    menuSort = new PopupMenu(this);
    menuContext = new PopupMenu(this);
    menuMain = new PopupMenu(softKeys);
    menuAction = new PopupMenu(softKeys);
    menuPlugin = new PopupMenu(this);
    menuSystem = new PopupMenu(this);
    menuFolders = new PopupMenu(this);
    for (PopupMenu* menu : {menuFolders, menuSystem, menuAction, menuMain, menuCompres, menuContext, menuSort})
        connect(menu, &PopupMenu::activated, this, &My_Widget::menuSelect);
    connect(menuContext, &QMenu::aboutToShow, this, &My_Widget::StopTime);
    connect(menuPlugin, &PopupMenu::activated, this, &My_Widget::sellSelect);
    fillProgramList();

    for (const MenuItem& item : menuItems()) {
        PopupMenu* menu = this->*item.menu;
        if (!item.label)
            menu->insertSeparator();
        else if (item.submenu)
            id.*item.id = menu->insertItem(CN(item.label), this->*item.submenu);
        else
            id.*item.id = menu->insertItem(CN(item.label));
    }
    softKeys->getMidBtn()->setPopup(menuAction);
    softKeys->getLeftBtn()->setPopup(menuMain);
}

void My_Widget::menuSelect(int itemId)
{
    for (const MenuItem& item : menuItems()) {
        if (!item.act || id.*item.id != itemId)
            continue;
        if (item.needs != Needs::Nothing && (!isEntryName(selectedName()) || (!item.byBytes && rowRefused())))
            return;
        item.act(*this);
        return;
    }
}

void My_Widget::enableRowItems(bool entry, bool file)
{
    for (const MenuItem& item : menuItems())
        if (item.needs == Needs::Entry || item.needs == Needs::File)
            (this->*item.menu)->setItemEnabled(id.*item.id, item.needs == Needs::File ? file : entry);
}

void My_Widget::packSelected(int archiveType)
{
    packEntry(messages, folder.absolutePath(), selectedName(), archiveType);
}

// Proposes the first of "New Folder", "New Folder(1)" ... "New Folder(19)" not yet taken.
void My_Widget::newFolder()
{
    const QString absPath = folder.absolutePath();
    QString proposed;
    for (int i = 0; i < 20 && proposed.isEmpty(); ++i) {
        const QString candidate = CN("New Folder") + (i == 0 ? QString() : "(" + QString::number(i) + ")");
        if (!entryExists(joinPath(absPath, candidate)))
            proposed = candidate;
    }
    if (proposed.isEmpty())
        return;
    const QString name = F_File_Edit::getDirectory(CN("New Folder"), proposed);
    if (name.isEmpty())
        return;
    if (entryExists(joinPath(absPath, name)))
        showDialog("[" + name + CN("] already exists"));
    else
        report(makeFolder(joinPath(absPath, name)), CN("Creat folder [") + name + CN("] success!"), name);
    qListBox(absPath);
}

// The entry is renamed by its bytes, never onto an entry that took the new name meanwhile. For a
// name that is not UTF-8 the name offered has '_' for what cannot be decoded, which the user can
// type and every card takes.
void My_Widget::renameSelected()
{
    const QString name = selectedName();
    const int row = list->currentItem();
    const bool byBytes = list->isUndecodable(row);
    const QString offered = byBytes ? QString(name).replace(QChar::ReplacementCharacter, u'_') : name;
    const QString newName = F_File_Edit::getDirectory(CN("[") + name + CN("] to "), offered);
    if (newName.isEmpty() || (newName == name && !byBytes))
        return;
    const QString target = joinPath(folder.absolutePath(), newName);
    if (entryExists(target)) {
        showDialog("[" + newName + CN("] already exists"));
        return;
    }
    report(renameByBytes(folder.absolutePath(), list->nameBytes(row), newName),
           CN(" rename to [ ") + newName + CN("] success!"), name);
    qListBox(folder.absolutePath());
}

void My_Widget::deleteSelected()
{
    const QString name = selectedName();
    const int row = list->currentItem();
    if (list->isUndecodable(row)) {
        // A name that is not UTF-8 cannot travel in the names a batch hands on: it goes for good.
        if (ask(CN("want to delete?    [") + name + CN("]\nremove can't reverse!")) == 0)
            report(removeByBytes(folder.absolutePath(), list->nameBytes(row)), name + CN("\nDelete success"), name);
    } else if (const TransferPlan plan = planTransfer(Transfer::Delete, selectedPath(), QString());
               plan.verdict == TransferPlan::Refuse) {
        showDialog(plan.refusal);
    } else {
        runBatch(messages, Transfer::Delete, {selectedPath()}, QString(), name + CN("\nDelete success"));
    }
    qListBox(folder.absolutePath());
}

void My_Widget::openSelectedAsText()
{
    startWithFile(messages, "Edit", "TXTFile", selectedPath());
}

void My_Widget::openSelectedIn()
{
    const QString app = F_Dialog::getDirectory(selectedPath());
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
}

void My_Widget::listPlace(const QString& label, const QString& path)
{
    if (QFileInfo(path).isDir())
        qListBox(path);
    else
        showDialog("[" + label + "] " + path + CN(" is not there"));
}

void My_Widget::openGeneralSetup()
{
    menuSystem->setItemChecked(id.fullScreen, false);
    setGeometry(normalFrame());
    showOnTop(new SetupWidget(this));
}

void My_Widget::openSearch()
{
    auto* search = new Search_Widget(this);
    search->show();
    connect(search, &Search_Widget::onNeedGUI, this, &My_Widget::Fshell);
}

// The setting is read again each time: a "window" missing from the file always gives the frame.
void My_Widget::toggleFullScreen()
{
    windowSetting = iniRead("window");
    const bool full = windowSetting == "0";
    menuSystem->setItemChecked(id.fullScreen, full);
    setGeometry(full ? QRect(0, 0, screenWidth, screenHeight) : normalFrame());
    storeSetting("window", full ? "1" : "0");
}

void My_Widget::toggleHiddenFiles()
{
    hiddenSetting = iniRead("Hide");
    const QString shown = hiddenSetting == "1" ? "0" : "1";
    folder.setFilter(listingFilter(shown));
    storeSetting("Hide", shown);
    qListBox(folder.absolutePath());
}

void My_Widget::sortBy(const QString& order)
{
    useSortOrder(order);
    storeSetting("Taxis", order);
    qListBox(folder.absolutePath());
}

void My_Widget::useSortOrder(const QString& order)
{
    sortSetting = order;
    folder.setSorting(listingSort(order));
    menuSort->setItemChecked(id.byName, order != "1" && order != "2");
    menuSort->setItemChecked(id.byTime, order == "1");
    menuSort->setItemChecked(id.bySize, order == "2");
}

// The choice holds for this run either way; the user learns it will not outlive it.
void My_Widget::storeSetting(const QString& key, const QString& value)
{
    if (!iniWrite(key, value))
        showDialog(CN("Cannot save the setting [") + key + "]");
}
