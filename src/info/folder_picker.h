#pragma once

#include <QString>
#include <QTreeWidget>

// The folder picker: a tree of the whole file system with "Select" and "Cancel".
class MyDialog
{
public:
    // The chosen folder without a trailing "/" ("/" for the root), or a null string.
    static QString getDirectory();
};

// A tree of folders that lists a folder's subfolders the first time it is opened.
class DirectoryView : public QTreeWidget
{
    Q_OBJECT
public:
    DirectoryView(QWidget* parent, const char* name, bool dirsOnly);

    // The path of a row: "/" for the root, "/a/b" below it.
    QString fullPath(QTreeWidgetItem* item) const;

public slots:
    // Opens the tree along a path and makes the deepest matched row current.
    void setDir(const QString& path);
};
