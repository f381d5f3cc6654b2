#include "multifile/fmy_listbox.h"

FMy_ListBox::FMy_ListBox(QWidget* parent, unsigned int flags)
    : FileRowList(parent, flags)
{
    useCheckImages();
    setRowLayout({25, 5, 58});
    connect(this, &UTIL_ListBox::clicked, this, &FMy_ListBox::doItemClicked);
}

void FMy_ListBox::doItemClicked(UTIL_ListBoxItem* item)
{
    FitemChecked(index(item));
}
