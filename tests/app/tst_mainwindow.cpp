#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "browser/my_listbox.h"
#include "workfolder.h"

#include <QApplication>
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

}  // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsEveryMenu();
    void checkMarksFollowTheSettings_data();
    void checkMarksFollowTheSettings();
    void titleCarriesTheClock_data();
    void titleCarriesTheClock();
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

    WorkFolder work;
    My_Widget window;
    QVERIFY(window.clockTimer()->isActive());
    QCOMPARE(window.clockTimer()->interval(), 60000);
    window.getTitleBarWidget()->setText("stale");
    window.Ttime();
    QVERIFY(window.getTitleBarWidget()->text().startsWith("File Manager" + QString(19, ' ')));
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

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
