#include "mainwindow/login.h"
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "core/settings.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTime>
#include <QTimer>

namespace {

// Opens a box, or a box that leads to the one looked at.
using Opening = std::function<void(My_Widget&)>;

}  // namespace

Q_DECLARE_METATYPE(Opening)

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
        QTest::newRow("no password, no prompt") << QStringList{"PassWord::"} << "" << "" << true;
        QTest::newRow("right password") << secret << "Secret" << "Ok" << true;
        QTest::newRow("empty entry") << secret << "" << "Ok" << false;
        QTest::newRow("cancelled with the right password") << secret << "Secret" << "Cancel" << false;
        QTest::newRow("non-ASCII password") << QStringList{"PassWord::" + accented} << accented << "Ok" << true;
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
        QTest::addColumn<QString>("mounts");  // "handset" for the handset's card, else the mount table, @ the work folder
        QTest::addColumn<QString>("listed");  // "" for the root
        const QString folder = "mmc/mmca1/Caf\u00e9 \u65e5";
        QTest::newRow("the last folder, not ASCII") << folder << "handset" << folder;
        QTest::newRow("a file: the card") << "mmc/mmca1/file" << "handset" << "mmc/mmca1";
        QTest::newRow("gone, and no card: the root") << "gone" << "/dev/sdb1 @/elsewhere vfat rw 0 0" << "";
        QTest::newRow("gone: the first medium mounted") << "gone"
            << "/dev/sda1 @/elsewhere vfat\n/dev/sdb1 @/media/gone vfat\n/dev/sdc1 @/media/My\\040Card\\134 vfat\n"
            << "media/My Card\\";
    }
    void startsInTheLastFolderElseTheCardElseTheRoot()
    {
        QFETCH(QString, file);
        QFETCH(QString, mounts);
        QFETCH(QString, listed);
        WorkFolder work;
        const QString other = work.makeFolder("mmc/mmca1/Caf\u00e9 \u65e5");
        work.write("mmc/mmca1/file");
        work.writeSettings({"Hide::0", "File::" + work.file(file)});
        work.makeFolder("elsewhere");
        work.makeFolder("media/My Card\\");
        if (mounts != "handset") {
            handsetFolders().card = work.file("no card");
            work.write("mounts", mounts.replace("@", work.path()).toUtf8());
        }
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
        // A setting the file does not hold still takes effect; the user learns it is not kept.
        work.writeSettings({"Hide::0"});
        DialogAnswerer answers;
        answers.press("Ok");
        window.menuSelect(ids.byName);
        QCOMPARE(answers.texts(), QStringList("Cannot save the setting [Taxis]"));
        QCOMPARE(window.fileList()->names(), (QStringList{"..", ".secret", "a", "b"}));
    }

    void clockTicksOnTheMinute()
    {
        WorkFolder work;
        My_Widget window;
        const QTime before = QTime::currentTime();
        window.Ttime();
        const int took = before.msecsTo(QTime::currentTime());
        const QString title = window.getTitleBarWidget()->text();
        QVERIFY2(title.endsWith(before.toString("hh:mm")) || title.endsWith(QTime::currentTime().toString("hh:mm")),
                 qPrintable(title));
        // The next tick falls on a whole minute, give or take the moment this tick took.
        const int next = (before.msecsSinceStartOfDay() + window.clockTimer()->interval()) % 60000;
        QVERIFY2(window.clockTimer()->isActive() && (60000 - next) % 60000 <= took, qPrintable(QString::number(next)));
    }

    // Each box with its longest text: names of about 250 bytes without a blank, one inside the other.
    void everyBoxFitsTheScreen_data()
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
    void everyBoxFitsTheScreen()
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

    void menusOpenInsideTheScreen()
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
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
