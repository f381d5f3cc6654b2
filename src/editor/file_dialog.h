#pragma once

#include "platform/zmainwidget.h"

class FileBrowser;
class PopupMenu;
class QEventLoop;
class ZMultiLineEdit;
class ZPushButton;

// The window that chooses a file: a file list and, to save, a name field. In save mode the
// middle key accepts once a name is typed; otherwise once a file is highlighted.
class FileDialog : public ZMainWidget
{
    Q_OBJECT
public:
    FileDialog(bool saveMode, const char* caption, bool editorMode, QWidget* parent, const char* name,
               unsigned int flags);

    // Shows the window and waits for its end: 1 accepted, 0 rejected.
    int exec();
    void setDir(const QString& path);
    QString getFileName() const;
    QString getFilePath() const;

    ZMultiLineEdit* nameField() const { return fileName; }
    FileBrowser* fileList() const { return browser; }
    PopupMenu* menu() const { return menuLeft; }
    ZPushButton* acceptKey() const { return middleKey; }

    // The ids of the left key's menu.
    enum MenuId { deleteItem = 0, systemDir = 2, phoneDir = 3, sdCard = 4, setupDir = 6 };

public slots:
    void selectMenu(int id);
    void filePicked(bool picked);
    void textChanged();
    void done(int result);
    void accept();
    void reject();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void deletePicked();

    ZMultiLineEdit* fileName = nullptr;
    FileBrowser* browser = nullptr;
    ZPushButton* middleKey = nullptr;
    PopupMenu* menuLeft = nullptr;
    bool saveMode;
    int result = 0;
    QEventLoop* loop = nullptr;  // set while exec() waits
};
