#pragma once

#include <QString>
#include <QTreeWidget>
#include <QTreeWidgetItem>

class QPixmap;

// The folder picker: a tree of the whole file system with "Select" and "Cancel".
class MyDialog
{
public:
    // The chosen folder without a trailing "/" ("/" for the root), or a null string.
    static QString getDirectory();
};

// One folder of the tree. Its subfolders are listed the first time it is opened and kept
// from then on; a row shows an expand mark before anyone has looked inside it.
class Directory : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    Directory(QTreeWidget* parent, const QString& name);
    Directory(Directory* parent, const QString& name);

    // "/" for the root, "/a/b/" below it: the form the folder is listed with.
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
    void setPixmap(QPixmap* pixmap);
    void list();

    QString folderName;
    Directory* parentFolder;
    bool readable;
    bool dirsOnly;
    bool listed = false;
    QPixmap* pix = nullptr;
};

// A tree of folders that lists a folder's subfolders the first time it is opened.
class DirectoryView : public QTreeWidget
{
    Q_OBJECT
public:
    DirectoryView(QWidget* parent, const char* name, bool dirsOnly);

    bool showDirsOnly() const { return dirsOnly; }

    // The path of a row: "/" for the root, "/a/b" below it.
    QString fullPath(QTreeWidgetItem* item) const;

    // Shared by every tree of the process, made by the first one.
    static QPixmap* folderLocked;
    static QPixmap* folderClosed;
    static QPixmap* folderOpen;
    static QPixmap* fileNormal;

public slots:
    // Opens the tree along a path and makes the deepest matched row current.
    void setDir(const QString& path);
    void slotFolderSelected(QTreeWidgetItem* item);

signals:
    void folderSelected(const QString& folder);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void collapseBelow(QTreeWidgetItem* item);

    bool dirsOnly;
};
