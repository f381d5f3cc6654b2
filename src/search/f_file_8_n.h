#pragma once

#include "platform/zmainwidget.h"
#include "commands/message_layer.h"

#include <QString>
#include <QStringList>

class PopupMenu;
class QCheckBox;
class SMy_ListBox;
class UTIL_ListBoxItem;
class UTIL_PushButton;

// The files a search found, each row in its own folder. In browse mode a row opens by its
// type; the menu switches to a check mode in which the checked files are copied, moved or
// deleted as one batch. Done, it hands back the folder for the main window to show ("" to
// refresh the one it shows).
class F_File_8_N : public ZMainWidget
{
    Q_OBJECT
public:
    enum Mode { Browse = 0, Copy = 1, Move = 2, Delete = 3 };

    // names: every name followed by "$"; folders: the folder of each name, in the same order.
    F_File_8_N(QWidget* parent, const QString& names, const QStringList& folders);

    void shell(const QString& name, const QString& folder);
    bool qwsEvent(QWSEvent* event) override;

    int mode() const { return currentMode; }
    SMy_ListBox* resultList() const { return list; }
    PopupMenu* operationMenu() const { return menu; }
    QCheckBox* checkAll() const { return FCheck; }
    int copyId() const { return copyItem; }
    int moveId() const { return moveItem; }
    int deleteId() const { return deleteItem; }
    UTIL_PushButton* retryKey() const { return retryButton; }
    UTIL_PushButton* okKey() const { return okButton; }
    UTIL_PushButton* backKey() const { return backButton; }

public slots:
    void Open();
    void fclose();
    void wclose();
    void wopen();
    void menuSelect(int itemId);
    void itemClicked(UTIL_ListBoxItem* item);

signals:
    void onNeedGUI(QString folder);

private:
    void openOrCheck(int row);
    void showMode(Mode mode);

    int copyItem = 0;
    int moveItem = 0;
    int deleteItem = 0;
    Mode currentMode = Browse;
    UTIL_PushButton* menuButton = nullptr;
    UTIL_PushButton* retryButton = nullptr;
    UTIL_PushButton* okButton = nullptr;
    UTIL_PushButton* backButton = nullptr;
    QCheckBox* FCheck = nullptr;
    SMy_ListBox* list = nullptr;
    PopupMenu* menu = nullptr;
    MessageLayer messages;
};
