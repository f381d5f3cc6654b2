#pragma once

#include "platform/listbox.h"
#include "core/folder_reader.h"

#include <vector>

// A list of one folder: its subfolders (".." among them) first, then its files that match
// the name filter, both by name with case ignored. A tap or Return on a folder opens it;
// on a name that is not UTF-8 it says why it cannot.
class FileBrowser : public UTIL_ListBox
{
    Q_OBJECT
public:
    FileBrowser(const QString& nameFilter, QWidget* parent, const char* name);

    // An unreadable folder leaves the list as it was.
    void setDir(const QString& path);
    QString currentFolder() const { return folder; }
    // The highlighted row's file, empty when the row is not a file.
    QString pickedFile() const { return pickedPath; }
    QString currentText() const;

public slots:
    void itemHighlighted(int index);
    void itemSelected(int index);
    void itemClicked(UTIL_ListBoxItem* item);

signals:
    void picked(const QString& path);
    void isFilePicked(bool picked);

protected:
    void paintCell(QPainter* painter, int row, int column) override;

private:
    QString rowPath(int index) const;

    QString filter;
    QString folder;
    QString pickedPath;
    std::vector<FolderEntry> entries;  // one a row
};
