#include "app/login.h"
#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTime>
#include <QTimer>

namespace {

// A menu as rows of text: "-" for a separator, "[x]" for a check mark, "(off)" when disabled.
QStringList rowsOf(const QMenu* menu)
{
    QStringList rows;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            rows << "-";
            continue;
        }
        QString row = action->text();
        if (action->menu())
            row += " >";
        if (action->isChecked())
            row += " [x]";
        if (!action->isEnabled())
            row += " (off)";
        rows << row;
    }
    return rows;
}

// Opens a box, or a box that leads to the one looked at.
using Opening = std::function<void(My_Widget&)>;

}  // namespace

Q_DECLARE_METATYPE(Opening)

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsEveryMenu();
    void checkMarksFollowTheSettings_data();
    void checkMarksFollowTheSettings();
    void titleCarriesTheClock_data();
    void titleCarriesTheClock();
    void clockTicksOnTheMinute();
    void everyBoxFitsTheScreen_data();
    void everyBoxFitsTheScreen();
    void menusOpenInsideTheScreen();
    void pluginItemsFromTheProgramList();
    void softKeysOpenTheirMenus();
    void longPressOpensTheContextMenuOnTheSixteenthTick();
    void rendersTheWindow();
};

void MainWindowTest::buildsEveryMenu()
{
    WorkFolder work;
    My_Widget window;
    QCOMPARE(rowsOf(window.mainMenu()),
             (QStringList{"About", "-", "Copy", "Move", "Delete", "-", "Compres >", "Extract (off)", "Plugin >", "-",
                          "System >", "Folders >", "Sort >"}));
    QCOMPARE(rowsOf(window.actionMenu()),
             (QStringList{"new TAR (off)", "new MTF (off)", "new MPKG (off)", "-", "New Folder", "Rename (off)", "-",
                          "Copy (off)", "Move (off)", "-", "Del (off)", "-", "Extract (off)"}));
    QCOMPARE(rowsOf(window.contextMenu()),
             (QStringList{"Open in (off)", "-", "Open Text (off)", "-", "Copy", "Move", "Compres", "Rename", "-",
                          "Delete", "-", "Info..."}));
    QCOMPARE(rowsOf(window.compresMenu()), (QStringList{"new TAR", "new MTF", "new MPKG"}));
    QCOMPARE(rowsOf(window.systemMenu()),
             (QStringList{"General setup", "Button setup", "Full screen", "Search", "Hidden files"}));
    QCOMPARE(rowsOf(window.foldersMenu()), (QStringList{"SD card", "Phone Dir", "System Dir", "Setup Dir"}));
    QCOMPARE(rowsOf(window.sortMenu()), (QStringList{"by Name [x]", "by Time", "by Size"}));
    QVERIFY(window.pluginMenu()->actions().isEmpty());
    // Ids are handed out by the menus and never repeat across them.
    const My_Widget::MenuIds& ids = window.ids();
    QSet<int> distinct{ids.about, ids.copyFiles, ids.newTar, ids.packTar, ids.ctxCopy, ids.copy, ids.byName,
                       ids.sdCard, ids.fullScreen};
    QCOMPARE(distinct.size(), 9);
    QCOMPARE(window.mainMenu()->text(ids.about), QString("About"));
}

void MainWindowTest::checkMarksFollowTheSettings_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("sortRows");
    QTest::addColumn<bool>("fullScreen");
    const QStringList byName{"by Name [x]", "by Time", "by Size"};
    QTest::newRow("no settings") << QStringList{} << byName << false;
    QTest::newRow("by time") << QStringList{"Taxis::1"} << QStringList{"by Name", "by Time [x]", "by Size"} << false;
    QTest::newRow("by size") << QStringList{"Taxis::2"} << QStringList{"by Name", "by Time", "by Size [x]"} << false;
    QTest::newRow("Taxis 3") << QStringList{"Taxis::3"} << byName << false;
    QTest::newRow("Taxis text") << QStringList{"Taxis::size"} << byName << false;
    QTest::newRow("full screen") << QStringList{"window::1"} << byName << true;
    QTest::newRow("window 0") << QStringList{"window::0"} << byName << false;
}

void MainWindowTest::checkMarksFollowTheSettings()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, sortRows);
    QFETCH(bool, fullScreen);
    WorkFolder work;
    work.writeSettings(settings);
    My_Widget window;
    QCOMPARE(rowsOf(window.sortMenu()), sortRows);
    QCOMPARE(window.systemMenu()->isItemChecked(window.ids().fullScreen), fullScreen);
    if (fullScreen)
        QCOMPARE(window.geometry(), QRect(0, 0, 240, 320));
    QCOMPARE(window.size(), QSize(240, 320));
}

void MainWindowTest::titleCarriesTheClock_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("ending");
    QTest::newRow("midnight") << QTime(0, 0) << "00:00";
    QTest::newRow("morning") << QTime(9, 5) << "09:05";
    QTest::newRow("afternoon") << QTime(13, 7) << "13:07";
}

void MainWindowTest::titleCarriesTheClock()
{
    QFETCH(QTime, time);
    QFETCH(QString, ending);
    QCOMPARE(My_Widget::titleAt(time), "File Manager" + QString(19, ' ') + ending);
}

void MainWindowTest::clockTicksOnTheMinute()
{
    WorkFolder work;
    My_Widget window;
    const QTime before = QTime::currentTime();
    window.Ttime();
    const int took = before.msecsTo(QTime::currentTime());
    QVERIFY(window.getTitleBarWidget()->text().startsWith("File Manager"));
    // The next tick falls on a whole minute, give or take the moment this tick took.
    const int next = (before.msecsSinceStartOfDay() + window.clockTimer()->interval()) % 60000;
    QVERIFY2(window.clockTimer()->isActive() && (60000 - next) % 60000 <= took, qPrintable(QString::number(next)));
}

void MainWindowTest::pluginItemsFromTheProgramList()
{
    WorkFolder work;
    QByteArray lines;
    for (int i = 1; i <= 12; ++i)
        lines += i == 6 ? QByteArray("\r\n") : QString("Tool %1::/bin/true\r\n").arg(i).toUtf8();
    work.write("software.txt", lines);
    My_Widget window;
    QCOMPARE(rowsOf(window.pluginMenu()), (QStringList{"Tool 1", "Tool 2", "Tool 3", "Tool 4", "Tool 5", "",
                                                       "Tool 7", "Tool 8", "Tool 9", "Tool 10"}));
    QCOMPARE(window.pluginMenu()->text(window.programId(9)), QString("Tool 10"));
}

void MainWindowTest::softKeysOpenTheirMenus()
{
    WorkFolder work;
    My_Widget window;
    auto* keys = qobject_cast<UTIL_CST*>(window.getCSTWidget());
    QVERIFY(keys);
    QCOMPARE(keys->getLeftBtn()->menu(), window.mainMenu());
    QCOMPARE(keys->getMidBtn()->menu(), window.actionMenu());
    QCOMPARE(keys->getMidBtn()->text(), QString("Action"));
    QCOMPARE(window.getContentWidget(), window.fileList());
}

void MainWindowTest::longPressOpensTheContextMenuOnTheSixteenthTick()
{
    WorkFolder work;
    work.makeFolder("mmc/mmca1/photos");
    work.writeSettings({"click::1"});
    My_Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* rows = window.fileList()->viewport();
    const QPoint secondRow(60, UTIL_ListBox::rowHeight + 5);
    QTest::mousePress(rows, Qt::LeftButton, {}, secondRow);
    QVERIFY(window.longPressTimer()->isActive());
    QCOMPARE(window.longPressTimer()->interval(), 100);
    QCOMPARE(TN, 0);
    for (int tick = 1; tick <= 15; ++tick)
        window.qtime();
    QVERIFY(!window.contextMenu()->isVisible());
    window.qtime();
    QVERIFY(window.contextMenu()->isVisible());
    QVERIFY(!window.longPressTimer()->isActive());
    // Opening the menu refreshed the row's items.
    QVERIFY(window.actionMenu()->isItemEnabled(window.ids().del));
    window.contextMenu()->close();
    QTest::mouseRelease(rows, Qt::LeftButton, {}, secondRow);
    QVERIFY(!window.longPressTimer()->isActive());
    // After a long press, a tap is a first tap again: the folder is not opened.
    QCOMPARE(window.currentFolder().absolutePath(), phoneFolders().card);

    // Released after fifteen ticks: nothing opens.
    QTest::mousePress(rows, Qt::LeftButton, {}, secondRow);
    for (int tick = 1; tick <= 15; ++tick)
        window.qtime();
    QTest::mouseRelease(rows, Qt::LeftButton, {}, secondRow);
    QVERIFY(!window.longPressTimer()->isActive());
    QVERIFY(!window.contextMenu()->isVisible());
}

void MainWindowTest::rendersTheWindow()
{
    WorkFolder work;
    for (const char* folder : {"Music", "Pictures", "Videos", "mmca1"})
        work.makeFolder(QString("mmc/mmca1/") + folder);
    for (const char* file : {"holiday.jpg", "ringtone.mp3", "clip.3gp", "game.jar", "notes.txt"})
        work.write(QString("mmc/mmca1/") + file, "x");
    My_Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.getTitleBarWidget()->setText(My_Widget::titleAt(QTime(13, 7)));
    window.fileList()->setCurrentItem(2);
    const QImage shot = window.grab().toImage();
    QCOMPARE(shot.size(), QSize(240, 320));
    QVERIFY(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("main-window.png")));

    // Rows and soft keys are drawn: the list area and the key bar hold more than one colour.
    auto colours = [&shot](const QRect& area) {
        QSet<QRgb> seen;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                seen.insert(shot.pixel(x, y));
        return seen.size();
    };
    QVERIFY(colours(QRect(0, 20, 240, 9 * UTIL_ListBox::rowHeight)) > 10);
    QVERIFY(colours(QRect(0, 320 - 26, 240, 26)) > 3);
    QVERIFY(colours(QRect(0, 0, 240, 20)) > 1);
}

// Each box with its longest text: names of about 250 bytes without a blank, one inside the other.
void MainWindowTest::everyBoxFitsTheScreen_data()
{
    QTest::addColumn<Opening>("open");
    QTest::addColumn<QString>("leadingAnswer");  // on a box that leads to the one looked at
    const auto onLongRow = [](int My_Widget::MenuIds::*item) {
        return Opening([item](My_Widget& window) {
            window.qListBox(phoneFolders().card + "/" + hostileNames().last());
            selectRow(window, window.fileList()->names().value(1));
            window.menuSelect(window.ids().*item);
        });
    };
    QTest::newRow("About") << Opening([](My_Widget& window) { window.menuSelect(window.ids().about); }) << "";
    QTest::newRow("question") << onLongRow(&My_Widget::MenuIds::del) << "";
    QTest::newRow("name entry") << onLongRow(&My_Widget::MenuIds::rename) << "";
    QTest::newRow("three buttons") << onLongRow(&My_Widget::MenuIds::extract) << "";
    QTest::newRow("folder picker") << onLongRow(&My_Widget::MenuIds::extract) << "Folder";
    QTest::newRow("failure") << onLongRow(&My_Widget::MenuIds::extract) << "Ok";
    QTest::newRow("password") << Opening([](My_Widget&) { F_Login::getDirectory(); }) << "";
}

void MainWindowTest::everyBoxFitsTheScreen()
{
    QFETCH(Opening, open);
    QFETCH(QString, leadingAnswer);
    WorkFolder work;
    work.write("mmc/mmca1/" + hostileNames().last() + "/" + QString(120, QChar(0x00e9)) + ".tar.gz", "not an archive");
    My_Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    DialogAnswerer answers;
    if (!leadingAnswer.isEmpty())
        answers.press(leadingAnswer);
    QRect box;
    QStringList cut;  // buttons hidden, outside the box, or too narrow for their text
    answers.then([&](QWidget* dialog) {
        box = dialog->geometry();
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (!button->isVisible() || !dialog->rect().contains(QRect(button->mapTo(dialog, QPoint()), button->size()))
                || button->width() < button->fontMetrics().horizontalAdvance(button->text()) + 8)
                cut << button->text();
        static_cast<QDialog*>(dialog)->reject();
    });
    open(window);
    expectAllAnswered(answers);
    QVERIFY(window.geometry().contains(box));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
}

void MainWindowTest::menusOpenInsideTheScreen()
{
    WorkFolder work;
    My_Widget window;
    // Below the window, where the left soft key drops its menu on a display with room there.
    window.mainMenu()->popup(window.mapToGlobal(QPoint(0, window.height())));
    window.mainMenu()->setActiveAction(window.mainMenu()->itemAction(window.ids().system));
    QTest::keyClick(window.mainMenu(), Qt::Key_Right);
    QVERIFY(window.systemMenu()->isVisible());
    QVERIFY(window.geometry().contains(window.mainMenu()->geometry().united(window.systemMenu()->geometry())));
    window.mainMenu()->close();
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
