#include "mainwindow/my_widget.h"

#include "core/paths.h"
#include "platform/keys.h"
#include "platform/popupmenu.h"
#include "mainwindow/my_listbox.h"

#include <cstdio>

void My_Widget::itemClicked(UTIL_ListBoxItem* item)
{
    if (!item)
        return;
    std::fprintf(stderr, "itemClicked start!\n");
    // The tapped row is the one that counts, should it not be current yet.
    const int row = list->index(item);
    if (row >= 0 && row != list->currentItem())
        list->setCurrentItem(row);
    const QString name = list->Istr();
    if (name == "..") {
        qListBox(name);
    } else {
        isOpen();
        clickSetting = iniRead("click");
        const bool needsSecondTap =
            (clickSetting == "1" || (clickSetting == "2" && !list->isFolderRow(row))) && clickedName != name;
        if (needsSecondTap)
            clickedName = name;
        else if (!rowRefused())
            qListBox(name);
    }
    std::fprintf(stderr, "itemClicked finish!\n");
}

void My_Widget::Open()
{
    if (!rowRefused())
        qListBox(list->Istr());
    isOpen();
}

void My_Widget::isOpenUp()
{
    rowIndex = list->currentItem();
    rowIndex = rowIndex > 0 ? rowIndex - 1 : list->count() - 1;
    list->setCurrentItem(rowIndex);
    isOpen();
}

void My_Widget::isOpenDown()
{
    rowIndex = list->currentItem();
    rowIndex = rowIndex < list->count() - 1 ? rowIndex + 1 : 0;
    list->setCurrentItem(rowIndex);
    isOpen();
}

// Items that only make sense for some rows follow the current row.
void My_Widget::isOpen()
{
    const QString name = list->Istr();
    // An empty list has no row: the folder itself must not count as one.
    const bool isEntry = !name.isEmpty() && name != "..";
    enableRowItems(isEntry, isEntry && !list->isFolderRow(list->currentItem()));
}

// A key acts when pressed; its release is consumed without action. A release whose press
// went to a menu or a message box therefore does nothing here, and a press whose release
// goes elsewhere does not make the next press count as a release.
bool My_Widget::qwsEvent(QWSEvent* event)
{
    if (event->type != QWSEvent::Key)
        return ZMainWidget::qwsEvent(event);
    const auto* key = static_cast<QWSKeyEvent*>(event);
    // A key acts on its press; its release is consumed.
    if (!key->simpleData.is_press)
        return true;
    // A setting that is absent reads as 0: it names no key.
    const int code = key->simpleData.keycode;
    if (code == 0)
        return true;
    if (code == keyUp) {
        isOpenUp();
    } else if (code == keyDown) {
        isOpenDown();
    } else if (code == keyEnter) {
        Open();
    } else if (code == keyLeft) {
        qListBox(joinPath(folder.absolutePath(), ".."));
    } else if (code == keyRight) {
        if (list->Istr() != "..")
            menuContext->popup(QPoint(120, 50), 0);
    }
    return true;
}
