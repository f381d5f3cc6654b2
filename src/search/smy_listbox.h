#pragma once

#include "commands/file_rows.h"

// The list of the search results: one row per file found, each in its own folder. Outside
// check mode a row shows its icon and name as the main file list does; in check mode its
// check image as well. Taps are left to the window.
class SMy_ListBox : public FileRowList
{
    Q_OBJECT
public:
    SMy_ListBox(QWidget* parent, unsigned int flags);

    // The folder of each row, in row order.
    void setRowFolders(const QStringList& folders) { rowFolders = folders; }
    QString rowFolder(int row) const { return rowFolders.value(row); }

    bool Achecked() const { return checkMode; }
    // Shows or hides every row's check at once; the checks themselves are kept.
    void Bchecked(bool on);

protected:
    QString rowPath(int row) const override;

private:
    QStringList rowFolders;
    bool checkMode = false;
};
