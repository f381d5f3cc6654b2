#include "mainwindow/my_widget.h"

#include "mainwindow/login.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "mainwindow/my_listbox.h"
#include "picker/folder_picker.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QTime>
#include <QTimer>

int TN = 0;

My_Widget::My_Widget(QWidget* parent)
    : ZMainWidget(CN("File Manager"), true, parent, nullptr, {}),
      messages(this, "Dialog_Exclamatory_Mark.gif",
               [this](const QString& path) { qListBox(path.isEmpty() ? folder.absolutePath() : path); },
               &MyDialog::getDirectory)
{
    if (!iniRead("PassWord").isEmpty() && F_Login::getDirectory().isNull()) {
        passwordAccepted = false;
        close();
        return;
    }
    TN = 0;
    keyEnter = iniRead("Key_Enter").toInt();
    keyUp = iniRead("Key_Up").toInt();
    keyDown = iniRead("Key_Down").toInt();
    keyLeft = iniRead("Key_Left").toInt();
    keyRight = iniRead("Key_Right").toInt();

    pressTimer = new QTimer(this);
    connect(pressTimer, &QTimer::timeout, this, &My_Widget::qtime);
    list = new My_ListBox(this, 0, pressTimer);
    setContentWidget(list);
    list->setFrameStyle(0);
    list->show();
    connect(list, &UTIL_ListBox::clicked, this, &My_Widget::itemClicked);

    clock = new QTimer(this);
    clock->setTimerType(Qt::PreciseTimer);
    connect(clock, &QTimer::timeout, this, &My_Widget::Ttime);
    Ttime();

    softKeys = new UTIL_CST(this, CN("Action"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    softKeys->show();
    connect(softKeys->getRightBtn(), &QPushButton::clicked, qApp, &QApplication::quit);

    buildMenus();

    hiddenSetting = iniRead("Hide");
    folder.setFilter(listingFilter(hiddenSetting));
    applySortSetting();

    windowSetting = iniRead("window");
    if (windowSetting == "1") {
        menuSystem->setItemChecked(id.fullScreen, true);
        setGeometry(0, 0, screenWidth, screenHeight);
    }
    listStartFolder();
}

My_Widget::~My_Widget() = default;

QString My_Widget::iniRead(const QString& key) const
{
    return ::iniRead(key);
}

bool My_Widget::iniWrite(QString key, QString value)
{
    return ::iniWrite(key, value);
}

void My_Widget::buildMenus()
{
    menuCompres = new PopupMenu(this);
    menuSort = new PopupMenu(this);
    menuContext = new PopupMenu(this);
    menuMain = new PopupMenu(softKeys);
    menuAction = new PopupMenu(softKeys);
    menuPlugin = new PopupMenu(this);
    menuSystem = new PopupMenu(this);
    menuFolders = new PopupMenu(this);
    for (PopupMenu* menu : {menuFolders, menuSystem, menuAction, menuMain, menuCompres, menuContext, menuSort})
        connect(menu, &PopupMenu::activated, this, &My_Widget::menuSelect);
    connect(menuContext, &QMenu::aboutToShow, this, &My_Widget::StopTime);
    connect(menuPlugin, &PopupMenu::activated, this, &My_Widget::sellSelect);

    fillProgramList();

    id.newTar = menuAction->insertItem(CN("new TAR"));
    id.newMtf = menuAction->insertItem(CN("new MTF"));
    id.newMpkg = menuAction->insertItem(CN("new MPKG"));
    menuAction->insertSeparator();
    id.newFolder = menuAction->insertItem(CN("New Folder"));
    id.rename = menuAction->insertItem(CN("Rename"));
    menuAction->insertSeparator();
    id.copy = menuAction->insertItem(CN("Copy"));
    id.move = menuAction->insertItem(CN("Move"));
    menuAction->insertSeparator();
    id.del = menuAction->insertItem(CN("Del"));
    menuAction->insertSeparator();
    id.extract = menuAction->insertItem(CN("Extract"));
    softKeys->getMidBtn()->setPopup(menuAction);
    for (int item : {id.newTar, id.newMtf, id.newMpkg, id.copy, id.move, id.del, id.extract, id.rename})
        menuAction->setItemEnabled(item, false);

    id.byName = menuSort->insertItem(CN("by Name"));
    id.byTime = menuSort->insertItem(CN("by Time"));
    id.bySize = menuSort->insertItem(CN("by Size"));

    id.openIn = menuContext->insertItem(CN("Open in"));
    menuContext->insertSeparator();
    id.openText = menuContext->insertItem(CN("Open Text"));
    menuContext->insertSeparator();
    id.ctxCopy = menuContext->insertItem(CN("Copy"));
    id.ctxMove = menuContext->insertItem(CN("Move"));
    id.ctxCompres = menuContext->insertItem(CN("Compres"));
    id.ctxRename = menuContext->insertItem(CN("Rename"));
    menuContext->insertSeparator();
    id.ctxDelete = menuContext->insertItem(CN("Delete"));
    menuContext->insertSeparator();
    id.info = menuContext->insertItem(CN("Info..."));

    id.packTar = menuCompres->insertItem(CN("new TAR"));
    id.packMtf = menuCompres->insertItem(CN("new MTF"));
    id.packMpkg = menuCompres->insertItem(CN("new MPKG"));

    id.generalSetup = menuSystem->insertItem(CN("General setup"));
    id.buttonSetup = menuSystem->insertItem(CN("Button setup"));
    id.fullScreen = menuSystem->insertItem(CN("Full screen"));
    id.search = menuSystem->insertItem(CN("Search"));
    id.hiddenFiles = menuSystem->insertItem(CN("Hidden files"));

    id.sdCard = menuFolders->insertItem(CN("SD card"));
    id.phoneDir = menuFolders->insertItem(CN("Phone Dir"));
    id.systemDir = menuFolders->insertItem(CN("System Dir"));
    id.setupDir = menuFolders->insertItem(CN("Setup Dir"));

    id.about = menuMain->insertItem(CN("About"));
    menuMain->insertSeparator();
    id.copyFiles = menuMain->insertItem(CN("Copy"));
    id.moveFiles = menuMain->insertItem(CN("Move"));
    id.deleteFiles = menuMain->insertItem(CN("Delete"));
    menuMain->insertSeparator();
    id.compres = menuMain->insertItem(CN("Compres"), menuCompres);
    id.extractMain = menuMain->insertItem(CN("Extract"));
    id.plugin = menuMain->insertItem(CN("Plugin"), menuPlugin);
    menuMain->insertSeparator();
    id.system = menuMain->insertItem(CN("System"), menuSystem);
    id.folders = menuMain->insertItem(CN("Folders"), menuFolders);
    id.sort = menuMain->insertItem(CN("Sort"), menuSort);
    softKeys->getLeftBtn()->setPopup(menuMain);
}

// The first ten lines of "software.txt" name the Plugin items; an empty line still takes its place.
void My_Widget::fillProgramList()
{
    bool opened = false;
    const QStringList lines = readSettingLines(workingFile("software.txt"), &opened);
    for (int line = 0; opened && line < 10 && line < lines.size(); ++line)
        programIds[line] = menuPlugin->insertItem(fromStoredBytes(settingPieces(lines.at(line)).value(0)));
}

void My_Widget::applySortSetting()
{
    for (int item : {id.byName, id.byTime, id.bySize})
        menuSort->setItemChecked(item, false);
    sortSetting = iniRead("Taxis");
    folder.setSorting(listingSort(sortSetting));
    menuSort->setItemChecked(sortSetting == "1" ? id.byTime : sortSetting == "2" ? id.bySize : id.byName, true);
}

// The last folder listed, else the memory card, else the root when the card is not there.
void My_Widget::listStartFolder()
{
    startFolderSetting = fromStoredBytes(iniRead("File"));
    if (!startFolderSetting.isEmpty() && QFileInfo(startFolderSetting).isDir())
        qListBox(startFolderSetting);
    else if (QFileInfo(phoneFolders().card).isDir())
        qListBox(phoneFolders().card);
    else
        qListBox("/");
}

QString My_Widget::titleAt(const QTime& time)
{
    return CN("File Manager                   ") + time.toString("hh:mm");
}

// Each tick comes on the minute, so the title always shows the minute it is.
void My_Widget::Ttime()
{
    const QTime now = QTime::currentTime();
    getTitleBarWidget()->setText(titleAt(now));
    clock->start(60000 - (now.second() * 1000 + now.msec()));
}

void My_Widget::StopTime()
{
    pressTimer->stop();
    isOpen();
}

void My_Widget::qtime()
{
    if (TN != 15) {
        ++TN;
        return;
    }
    pressTimer->stop();
    isOpen();
    if (pressTimer->isActive() || !menuContext)
        return;
    clickedName = "";
    menuContext->popup(QCursor::pos(), 0);
}

QString My_Widget::selectedName() const
{
    return list->Istr();
}

QString My_Widget::selectedPath() const
{
    return folder.absolutePath() + "/" + list->Istr();
}
