#include "multifile/fmy_listbox.h"

#include "commands/message_layer.h"

FMy_ListBox::FMy_ListBox(QWidget* parent, unsigned int flags)
    : FileRowList(parent, flags)
{
    useCheckImages();
    setRowLayout({25, 5, 58});
    connect(this, &UTIL_ListBox::clicked, this, &FMy_ListBox::doItemClicked);
}

void FMy_ListBox::doItemClicked(UTIL_ListBoxItem* item)
{
    const int row = index(item);
    if (isUndecodable(row))
        MessageLayer(window(), "Dialog_Empty_Trash.gif").show(notUtf8Refusal(Istr(row)));
    else
        FitemChecked(row);
}
