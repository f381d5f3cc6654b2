#pragma once

#include "platform/zmainwidget.h"
#include "commands/message_layer.h"

#include <QDir>
#include <QString>

#include <vector>

class F_File_6_N;
enum class Transfer;
class My_ListBox;
class PopupMenu;
class QTimer;
class UTIL_CST;
class UTIL_ListBoxItem;
struct CommandResult;

// The file manager's main window: title with clock, the file list, three soft keys and
// eight menus. Its methods are spread over the files of the part they belong to.
class My_Widget : public ZMainWidget
{
    Q_OBJECT
public:
    explicit My_Widget(QWidget* parent = nullptr);
    ~My_Widget() override;

    // False when the start-up password was not given; main() then ends.
    bool startedUp() const { return passwordAccepted; }

    QString iniRead(const QString& key) const;
    void qListBox(QString path);
    bool qwsEvent(QWSEvent* event) override;

    // A question with "Ok" and "Cancel", and a third button when named: the pressed index.
    int ask(const QString& question, const QString& thirdButton = QString());
    // The done text on success, otherwise what failed (never the done text); true on success.
    bool report(const CommandResult& result, const QString& doneText, const QString& subject);

    // The boxes of this window, for the commands it hands to the command layer.
    const MessageLayer& messageLayer() const;

    // Titles are the clock's; exposed so the clock can be checked at any time of day.
    static QString titleAt(const QTime& time);

    My_ListBox* fileList() const { return list; }
    QDir& currentFolder() { return folder; }
    QTimer* clockTimer() const { return clock; }
    // The last multi-file window opened for that operation, or none.
    F_File_6_N* multiFileWindow(Transfer operation) const;

    // The menus, for whoever drives them.
    PopupMenu* mainMenu() const { return menuMain; }
    PopupMenu* actionMenu() const { return menuAction; }
    PopupMenu* contextMenu() const { return menuContext; }
    PopupMenu* sortMenu() const { return menuSort; }
    PopupMenu* pluginMenu() const { return menuPlugin; }
    PopupMenu* systemMenu() const { return menuSystem; }

    // Item ids, as the menus handed them out to the rows of the menu table.
    struct MenuIds {
        int about, copyFiles, moveFiles, deleteFiles, compres, extractMain, plugin, system,
            folders, sort;
        int packTar, packMtf, packMpkg;
        int generalSetup, buttonSetup, fullScreen, search, hiddenFiles;
        int sdCard, phoneDir, systemDir, setupDir, trash;
        int byName, byTime, bySize;
        int newTar, newMtf, newMpkg, newFolder, rename, copy, move, del, extract;
        int openIn, openText, ctxCopy, ctxMove, ctxCompres, ctxRename, ctxDelete, info;
    };
    const MenuIds& ids() const { return id; }
    int programId(int line) const { return programIds[line]; }

public slots:
    void Ttime();
    void Fshell(QString target);
    void Wr(QString command, QString file);
    QString fnames(const QString& path);
    [[nodiscard]] bool iniWrite(QString key, QString value);
    void shell(QString path);
    void itemClicked(UTIL_ListBoxItem* item);
    void showDialog(QString text);
    bool Fcmd(QString question, QString command, QString doneText, QString subject = QString());
    void menuSelect(int itemId);
    void sellSelect(int itemId);
    void StopTime();
    void sellSelectY(int line);
    void qtime();
    void isOpenDown();
    void isOpenUp();
    void isOpen();
    void Open();
    // The multi-file window's checked paths, "$"-joined, and its operation code.
    void sltRestoreGUI(QString list, int operation);

private:
    // What a menu item needs of the current row (see the menu table).
    enum class Needs { Nothing, Row, Entry, File };
    struct MenuItem;
    static const std::vector<MenuItem>& menuItems();

    // The handlers of the menu items that take more than a line.
    void packSelected(int archiveType);
    void extractSelected();
    void newFolder();
    void renameSelected();
    void deleteSelected();
    void openSelectedIn();
    void openSelectedAsText();
    void openGeneralSetup();
    void openSearch();
    void toggleFullScreen();
    void toggleHiddenFiles();
    void sortBy(const QString& order);
    F_File_6_N* openMultiFileWindow(const QString& title, Transfer operation);
    // Stores a setting the user changed from a menu, and says so when it cannot.
    void storeSetting(const QString& key, const QString& value);

    void buildMenus();
    void fillProgramList();
    void useSortOrder(const QString& order);
    void listStartFolder();
    // Lists one of the phone's places, or says it is not there: the card may be out.
    void listPlace(const QString& label, const QString& path);
    void enableRowItems(bool entry, bool file);
    void startLongPress();
    // A row whose name is not UTF-8 is shown, but no command may act on it: says so.
    bool rowRefused();
    QString selectedName() const;
    QString selectedPath() const;

    bool passwordAccepted = true;
    QDir folder;
    MessageLayer messages;
    My_ListBox* list = nullptr;
    QString clickedName;
    QString startFolderSetting;
    QString hiddenSetting;
    QString sortSetting;
    QString windowSetting;
    QString clickSetting;
    int keyEnter = 0, keyUp = 0, keyDown = 0, keyLeft = 0, keyRight = 0;
    int rowIndex = 0;
    // Ticks of the long-press timer since the press on the file list began.
    int pressTicks = 0;
    QTimer* pressTimer = nullptr;
    QTimer* clock = nullptr;
    UTIL_CST* softKeys = nullptr;
    PopupMenu* menuMain = nullptr;
    PopupMenu* menuCompres = nullptr;
    PopupMenu* menuAction = nullptr;
    PopupMenu* menuContext = nullptr;
    PopupMenu* menuSort = nullptr;
    PopupMenu* menuPlugin = nullptr;
    PopupMenu* menuSystem = nullptr;
    PopupMenu* menuFolders = nullptr;
    MenuIds id{};
    // The last multi-file window of each operation; earlier ones live on as children.
    F_File_6_N* copyWindow = nullptr;
    F_File_6_N* moveWindow = nullptr;
    F_File_6_N* deleteWindow = nullptr;
    int programIds[10] = {};
};
