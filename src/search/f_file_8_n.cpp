#include "search/f_file_8_n.h"

#include "commands/check_windows.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/text.h"
#include "commands/opening.h"
#include "core/paths.h"
#include "commands/transfer.h"
#include "picker/folder_picker.h"
#include "search/smy_listbox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>

F_File_8_N::F_File_8_N(QWidget* parent, const QString& names, const QStringList& folders)
    : ZMainWidget(CN("result"), true, parent, nullptr, {}),
      messages(this, "Dialog_Empty_Trash.gif", {}, &MyDialog::getDirectory)
{
    list = new SMy_ListBox(this, 0);
    setContentWidget(list);
    list->setFrameStyle(0);
    list->stext(names);
    list->setRowFolders(folders);
    list->setCurrentItem(0);
    list->setFocus();
    connect(list, &UTIL_ListBox::clicked, this, &F_File_8_N::itemClicked);

    FCheck = addCheckAllBox(this, list);
    FCheck->hide();

    menu = new PopupMenu(this);
    connect(menu, &PopupMenu::activated, this, &F_File_8_N::menuSelect);
    copyItem = menu->insertItem(CN("Copy files"));
    moveItem = menu->insertItem(CN("move files"));
    deleteItem = menu->insertItem(CN("del files"));

    // The soft keys: the menu, "Retry" in browse mode or "Ok" in check mode, and back.
    const int dw = UTIL_PushButton::defaultWidth, dh = UTIL_PushButton::defaultHeight;
    auto* keys = new QWidget(this);
    keys->setFixedHeight(dh);
    auto* row = new QHBoxLayout(keys);
    row->setContentsMargins(0, 2, 0, 0);
    row->setSpacing(0);
    menuButton = new UTIL_PushButton("CST_Menu", QString(), keys, 0, dw, dh - 2);
    menuButton->setPopup(menu);
    retryButton = new UTIL_PushButton(QString(), CN("Retry"), keys, 0, width() - 2 * dw, dh - 2);
    connect(retryButton, &QPushButton::clicked, this, &F_File_8_N::fclose);
    okButton = new UTIL_PushButton(QString(), CN("Ok"), keys, 0, width() - 2 * dw, dh - 2);
    connect(okButton, &QPushButton::clicked, this, &F_File_8_N::wopen);
    okButton->hide();
    backButton = new UTIL_PushButton("CST_Back", QString(), keys, 0, dw, dh - 2);
    connect(backButton, &QPushButton::clicked, this, &F_File_8_N::wclose);
    for (UTIL_PushButton* key : {menuButton, retryButton, okButton, backButton}) {
        key->setFocusPolicy(Qt::NoFocus);
        row->addWidget(key);
    }
    setCSTWidget(keys);
}

void F_File_8_N::shell(const QString& name, const QString& folder)
{
    openByType(messages, joinPath(folder, name), folder);
}

bool F_File_8_N::qwsEvent(QWSEvent* event)
{
    return takeEnterKey(event, [this] { Open(); }) || ZMainWidget::qwsEvent(event);
}

// Title, menu labels, middle key and the check box as each mode shows them.
void F_File_8_N::showMode(Mode mode)
{
    static const char* const titles[] = {"result", "Copy files", "move files", "del files"};
    currentMode = mode;
    const bool checking = mode != Browse;
    list->Bchecked(checking);
    getTitleBarWidget()->setText(CN(titles[mode]));
    menu->itemAction(copyItem)->setText(CN(mode == Copy ? "not PLAY" : "Copy files"));
    menu->itemAction(moveItem)->setText(CN(mode == Move ? "not MOVE" : "move files"));
    menu->itemAction(deleteItem)->setText(CN(mode == Delete ? "toRemove" : "del files"));
    retryButton->setVisible(!checking);
    okButton->setVisible(checking);
    FCheck->setVisible(checking);
}

// Any of the three items leaves check mode; in browse mode each enters its own.
void F_File_8_N::menuSelect(int itemId)
{
    if (itemId != copyItem && itemId != moveItem && itemId != deleteItem)
        return;
    if (list->Achecked())
        showMode(Browse);
    else
        showMode(itemId == copyItem ? Copy : itemId == moveItem ? Move : Delete);
}

void F_File_8_N::itemClicked(UTIL_ListBoxItem* item)
{
    openOrCheck(list->index(item));
}

void F_File_8_N::Open()
{
    openOrCheck(list->currentItem());
}

void F_File_8_N::openOrCheck(int row)
{
    if (row < 0 || row >= list->count())
        return;
    if (list->Achecked())
        list->FitemChecked(row);
    else
        shell(list->Istr(row), list->rowFolder(row));
}

void F_File_8_N::fclose()
{
    close();
}

void F_File_8_N::wclose()
{
    if (list->Achecked()) {
        showMode(Browse);
        return;
    }
    close();
    emit onNeedGUI(QString());
}

// The checked files as one batch: asks where to for copy and move, then closes and hands
// back the destination, or "" after a delete. A cancelled question keeps the window and its checks.
void F_File_8_N::wopen()
{
    if (currentMode == Browse)
        return;
    const auto operation = Transfer(int(currentMode));
    QString dest;
    if (operation != Transfer::Delete) {
        dest = MyDialog::getDirectory();
        if (dest.isEmpty())
            return;
    }
    if (!runBatch(messages, operation, list->checkedPaths(), dest, CN("success")))
        return;
    close();
    emit onNeedGUI(dest);
}
