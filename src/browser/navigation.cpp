#include "app/my_widget.h"

#include "app/platform/keys.h"
#include "app/platform/popupmenu.h"
#include "browser/my_listbox.h"

#include <QFileInfo>

#include <cstdio>

void My_Widget::itemClicked(UTIL_ListBoxItem* item)
{
    if (!item)
        return;
    std::fprintf(stderr, "itemClicked start!\n");
    const QString name = list->Istr();
    if (name == "..") {
        qListBox(name);
    } else {
        isOpen();
        clickSetting = iniRead("click");
        const bool isFile = QFileInfo(folder.absolutePath() + "/" + name).isFile();
        const bool needsSecondTap =
            (clickSetting == "1" || (clickSetting == "2" && isFile)) && clickedName != name;
        if (needsSecondTap)
            clickedName = name;
        else
            qListBox(name);
    }
    std::fprintf(stderr, "itemClicked finish!\n");
}

void My_Widget::Open()
{
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
    const QFileInfo entry(folder.absolutePath() + "/" + list->Istr());
    const bool isFile = entry.isFile();
    menuMain->setItemEnabled(id.extractMain, isFile);
    menuAction->setItemEnabled(id.extract, isFile);
    menuContext->setItemEnabled(id.openText, isFile);
    menuContext->setItemEnabled(id.openIn, isFile);
    const bool isEntry = (isFile || entry.isDir()) && list->Istr() != "..";
    for (int item : {id.newTar, id.newMtf, id.newMpkg, id.copy, id.move, id.del, id.rename})
        menuAction->setItemEnabled(item, isEntry);
}

// Every other key event acts (the press); the one after it (the release) is consumed.
bool My_Widget::qwsEvent(QWSEvent* event)
{
    if (event->type != QWSEvent::Key)
        return ZMainWidget::qwsEvent(event);
    if (keyPhase != 2) {
        keyPhase = 2;
        return true;
    }
    keyPhase = 1;
    const int code = static_cast<QWSKeyEvent*>(event)->simpleData.keycode;
    if (code == keyUp) {
        isOpenUp();
    } else if (code == keyDown) {
        isOpenDown();
    } else if (code == keyEnter) {
        Open();
    } else if (code == keyLeft) {
        qListBox(folder.absolutePath() + "/../");
    } else if (code == keyRight) {
        if (list->Istr() != "..")
            menuContext->popup(QPoint(120, 50), 0);
    }
    return true;
}
