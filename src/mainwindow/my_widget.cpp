#include "mainwindow/my_widget.h"

#include "mainwindow/login.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "core/paths.h"
#include "mainwindow/my_listbox.h"
#include "picker/folder_picker.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QTime>
#include <QTimer>

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
    keyEnter = iniRead("Key_Enter").toInt();
    keyUp = iniRead("Key_Up").toInt();
    keyDown = iniRead("Key_Down").toInt();
    keyLeft = iniRead("Key_Left").toInt();
    keyRight = iniRead("Key_Right").toInt();

    pressTimer = new QTimer(this);
    connect(pressTimer, &QTimer::timeout, this, &My_Widget::qtime);
    list = new My_ListBox(this, 0);
    setContentWidget(list);
    list->setFrameStyle(0);
    list->show();
    connect(list, &UTIL_ListBox::clicked, this, &My_Widget::itemClicked);
    connect(list, &My_ListBox::pressed, this, &My_Widget::startLongPress);
    connect(list, &My_ListBox::released, pressTimer, &QTimer::stop);

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
    useSortOrder(iniRead("Taxis"));

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

// The first ten lines of "software.txt" name the Plugin items; an empty line still takes its place.
void My_Widget::fillProgramList()
{
    bool opened = false;
    const QStringList lines = readSettingLines(workingFile("software.txt"), &opened);
    for (int line = 0; opened && line < 10 && line < lines.size(); ++line)
        programIds[line] = menuPlugin->insertItem(fromStoredBytes(settingPieces(lines.at(line)).value(0)));
}

// The last folder listed, else the memory card, else the root when the card is not there.
void My_Widget::listStartFolder()
{
    startFolderSetting = fromStoredBytes(iniRead("File"));
    if (!startFolderSetting.isEmpty() && QFileInfo(startFolderSetting).isDir())
        qListBox(startFolderSetting);
    else if (const QString card = phoneFolders().card; QFileInfo(card).isDir())
        qListBox(card);
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

// A press already held keeps its count going.
void My_Widget::startLongPress()
{
    if (pressTimer->isActive())
        return;
    pressTicks = 0;
    pressTimer->start(100);
}

void My_Widget::qtime()
{
    if (pressTicks != 15) {
        ++pressTicks;
        return;
    }
    pressTimer->stop();
    isOpen();
    clickedName = "";
    menuContext->popup(QCursor::pos(), 0);
}

QString My_Widget::selectedName() const
{
    return list->Istr();
}

QString My_Widget::selectedPath() const
{
    return joinPath(folder.absolutePath(), list->Istr());
}
