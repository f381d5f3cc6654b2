#pragma once

#include "commands/file_rows.h"

// The multi-file window's list: every row with a check image before its icon and name.
// A tap on a row toggles its check; on a name that is not UTF-8 it says why it cannot.
class FMy_ListBox : public FileRowList
{
    Q_OBJECT
public:
    FMy_ListBox(QWidget* parent, unsigned int flags);

public slots:
    void doItemClicked(UTIL_ListBoxItem* item);
};
