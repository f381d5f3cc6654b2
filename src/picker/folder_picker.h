#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidget>
#include <QTreeWidgetItem>

// The folder picker: a tree of the whole file system with "Select" and "Cancel".
class MyDialog
{
public:
    // The chosen folder without a trailing "/" ("/" for the root), or a null string.
    static QString getDirectory();
};

// How a folder's row looks.
enum class FolderLook { Closed, Open, Locked };

// One folder of the tree. Its subfolders are listed the first time it is opened and kept
// from then on; a row shows an expand mark before anyone has looked inside it.
class Directory : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    Directory(QTreeWidget* parent, const QString& name);
    Directory(Directory* parent, const QString& name);

    // "/" for the root, "/a/b" below it.
    QString fullName() const;
    bool isReadable() const { return readable; }
    bool isListed() const { return listed; }

    // Opening lists the subfolders once; an unreadable folder stays closed.
    void setOpen(bool open);
    // The view's own expanding and collapsing come here.
    void opened();
    void closed();

    QVariant data(int column, int role) const override;

private:
    void setLook(FolderLook newLook);
    void list();

    QString folderName;
    Directory* parentFolder;
    bool readable;
    bool listed = false;
    FolderLook look = FolderLook::Closed;
};

// A tree of folders that lists a folder's subfolders the first time it is opened.
class DirectoryView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirectoryView(QWidget* parent);

    const QIcon& icon(FolderLook look) const;

public slots:
    // Opens the tree along a path and makes the deepest matched row current.
    void setDir(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void collapseBelow(QTreeWidgetItem* item);

    QIcon folderClosed;
    QIcon folderOpen;
    QIcon folderLocked;
};
