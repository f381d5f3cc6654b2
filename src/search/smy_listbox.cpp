#include "search/smy_listbox.h"

#include "core/paths.h"

namespace {

const FileRowList::RowLayout browseLayout{5, -1, 32};
const FileRowList::RowLayout checkLayout{5, 35, 60};

}  // namespace

SMy_ListBox::SMy_ListBox(QWidget* parent, unsigned int flags)
    : FileRowList(parent, flags)
{
    useCheckImages();
    setRowLayout(browseLayout);
}

void SMy_ListBox::Bchecked(bool on)
{
    checkMode = on;
    setRowLayout(on ? checkLayout : browseLayout);
    viewport()->update();
}

QString SMy_ListBox::rowPath(int row) const
{
    return joinPath(rowFolder(row), Istr(row));
}
