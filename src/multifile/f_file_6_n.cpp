#include "multifile/f_file_6_n.h"

#include "commands/check_windows.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "core/paths.h"
#include "multifile/fmy_listbox.h"

#include <algorithm>

F_File_6_N::F_File_6_N(QWidget* parent, const QString& title, const QString& folder, int operation)
    : ZMainWidget(title, true, parent, nullptr, {}),
      operationCode(operation)
{
    list = new FMy_ListBox(this, 0);
    setContentWidget(list);
    list->setFrameStyle(0);
    list->show();
    FqListBox(folder);

    FCheck = addCheckAllBox(this, list);

    softKeys = new UTIL_CST(this, CN("Ok"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    softKeys->show();
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    connect(softKeys->getMidBtn(), &QPushButton::clicked, this, &F_File_6_N::WFile);

    auto* checkMenu = new PopupMenu(softKeys);
    connect(checkMenu, &PopupMenu::activated, this, &F_File_6_N::menuSelect);
    markItem = checkMenu->insertItem(CN("Mark"));
    unmarkItem = checkMenu->insertItem(CN("unMark"));
    invertItem = checkMenu->insertItem(CN("Invert "));
    softKeys->getLeftBtn()->setPopup(checkMenu);
}

QString F_File_6_N::iniRead(const QString& key) const
{
    return ::iniRead(key);
}

void F_File_6_N::FqListBox(const QString& folder)
{
    const QString target = folder.startsWith('/') ? folder : joinPath(listing.absolutePath(), folder);
    listing.setFilter(listingFilter(iniRead("Hide")));
    listing.setSorting(listingSort(iniRead("Taxis")));
    listing.setPath(target);
    list->clear();
    const QString here = listing.absolutePath();
    std::vector<FolderEntry> entries;
    if (here != "/")
        readListing(listing, &entries);
    // The handed list is cut at every "$": a path holding one would name other entries.
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&here](const FolderEntry& entry) { return !canTravel(joinPath(here, entry.name)); }),
                  entries.end());
    list->appendEntries(entries);
    list->Idir(here);
    list->setCurrentItem(0);
}

bool F_File_6_N::qwsEvent(QWSEvent* event)
{
    return takeEnterKey(event, [this] { Open(); }) || ZMainWidget::qwsEvent(event);
}

void F_File_6_N::menuSelect(int itemId)
{
    if (itemId == markItem || itemId == unmarkItem) {
        list->checkEveryRow(itemId == markItem);
    } else if (itemId == invertItem) {
        for (int row = 0; row < list->count(); ++row)
            list->FitemChecked(row);
    }
}

void F_File_6_N::Open()
{
    list->doItemClicked(list->item(list->currentItem()));
}

void F_File_6_N::WFile()
{
    const QStringList checked = list->checkedPaths();
    close();
    emit onNeedGUI(joinNameList(checked), operationCode);
}
