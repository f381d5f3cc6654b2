#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/settings.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTime>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void passwordDecidesTheStart_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("starts");
        const QStringList secret = {"PassWord::Secret"};
        const QString accented = "Gr\u00fcn \u65e5\u672c";
        const QStringList two = {"Hide::0", "PassWord::first", "PassWord::second"};
        QTest::newRow("no password, no prompt") << QStringList{"PassWord::"} << "" << "" << true;
        QTest::newRow("right password") << secret << "Secret" << "Ok" << true;
        QTest::newRow("letter case differs") << secret << "secret" << "Ok" << false;
        QTest::newRow("empty entry") << secret << "" << "Ok" << false;
        QTest::newRow("cancelled with the right password") << secret << "Secret" << "Cancel" << false;
        QTest::newRow("non-ASCII password") << QStringList{"PassWord::" + accented} << accented << "Ok" << true;
        QTest::newRow("second of two password lines") << two << "second" << "Ok" << true;
        QTest::newRow("neither of two password lines") << two << "third" << "Ok" << false;
    }
    // A failed prompt ends the start before any window is shown.
    void passwordDecidesTheStart()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(bool, starts);
        WorkFolder work;
        work.writeSettings(stored);
        DialogAnswerer answers;
        if (!button.isEmpty())
            answers.then([&](QWidget* dialog) {
                QLineEdit* field = dialog->findChild<QLineEdit*>();
                QCOMPARE(field->echoMode(), QLineEdit::Password);
                field->setText(typed);
                DialogAnswerer::pressButton(dialog, button);
            });
        My_Widget window;
        expectAllAnswered(answers);
        QCOMPARE(answers.texts(), button.isEmpty() ? QStringList() : QStringList("password:"));
        QCOMPARE(window.startedUp(), starts);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY2(starts || !top->isVisible(), top->metaObject()->className());
    }

    void startsInTheLastFolderElseTheCardElseTheRoot_data()
    {
        QTest::addColumn<QString>("file");  // the "File" setting, below the work folder
        QTest::addColumn<bool>("card");
        QTest::addColumn<QString>("listed");  // "" for the root
        const QString folder = "mmc/mmca1/Caf\u00e9 \u65e5";
        QTest::newRow("the last folder, not ASCII") << folder << true << folder;
        QTest::newRow("a file: the card") << "mmc/mmca1/file" << true << "mmc/mmca1";
        QTest::newRow("gone, and no card: the root") << "gone" << false << "";
    }
    void startsInTheLastFolderElseTheCardElseTheRoot()
    {
        QFETCH(QString, file);
        QFETCH(bool, card);
        QFETCH(QString, listed);
        WorkFolder work;
        const QString other = work.makeFolder("mmc/mmca1/Caf\u00e9 \u65e5");
        work.write("mmc/mmca1/file");
        work.writeSettings({"Hide::0", "File::" + work.file(file)});
        if (!card)
            phoneFolders().card = work.file("no card");
        DialogAnswerer answers;  // a start folder that is not one would be opened as a file
        My_Widget window;
        QCOMPARE(answers.texts(), QStringList());
        QCOMPARE(window.currentFolder().absolutePath(), listed.isEmpty() ? "/" : work.file(listed));
        QCOMPARE(window.fileList()->names().contains(".."), !listed.isEmpty());  // the root has no parent row
        // Every folder listed is stored for the next start, as UTF-8.
        window.qListBox(other + "/../" + QFileInfo(other).fileName());
        QCOMPARE(work.read("system.txt"), "Hide::0\r\nFile::" + other.toUtf8() + "\r\n");
    }

    void systemItemsChangeTheListAndStoreTheSetting()
    {
        WorkFolder work;
        work.write("mmc/mmca1/.secret");
        work.write("mmc/mmca1/a");
        work.write("mmc/mmca1/b", "larger");
        work.writeSettings({"Hide::0", "window::0", "Taxis::0"});
        My_Widget window;
        const My_Widget::MenuIds& ids = window.ids();
        for (int item : {ids.hiddenFiles, ids.fullScreen, ids.bySize})
            window.menuSelect(item);
        QCOMPARE(work.read("system.txt"), QByteArray("Hide::1\r\nwindow::1\r\nTaxis::2\r\n"));
        QCOMPARE(window.fileList()->names(), (QStringList{"..", "b", ".secret", "a"}));  // hidden shown, largest first
        QCOMPARE(window.geometry(), QRect(0, 0, 240, 320));
        QVERIFY(window.systemMenu()->isItemChecked(ids.fullScreen) && window.sortMenu()->isItemChecked(ids.bySize));
        QVERIFY(!window.sortMenu()->isItemChecked(ids.byName));
        window.menuSelect(ids.fullScreen);  // back below the phone's status bar
        QCOMPARE(window.geometry(), QRect(0, 35, 240, 285));
        QCOMPARE(iniRead("window"), QString("0"));
    }

    // The picture of the README, with the Plugin menu of its "software.txt".
    void rendersTheWindow()
    {
        WorkFolder work;
        for (const char* folder : {"Music", "Pictures", "Videos", "mmca1"})
            work.makeFolder(QString("mmc/mmca1/") + folder);
        for (const char* file : {"holiday.jpg", "ringtone.mp3", "clip.3gp", "game.jar", "notes.txt"})
            work.write(QString("mmc/mmca1/") + file, "x");
        QByteArray programs;
        for (int line = 1; line <= 12; ++line)
            programs += line == 4 ? "\r\n" : "Tool " + QByteArray::number(line) + "::/bin/true\r\n";
        work.write("software.txt", programs);
        My_Widget window;
        // The Plugin menu: the first ten lines of "software.txt", an empty one keeping its place.
        QCOMPARE(window.pluginMenu()->actions().size(), 10);
        QCOMPARE(window.pluginMenu()->text(window.programId(9)), QString("Tool 10"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(My_Widget::titleAt(QTime(9, 5)), "File Manager" + QString(19, ' ') + "09:05");
        window.getTitleBarWidget()->setText(My_Widget::titleAt(QTime(13, 7)));
        window.fileList()->setCurrentItem(2);
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.size(), QSize(240, 320));
        QVERIFY(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("main-window.png")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
