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
#include <QLineEdit>
#include <QTest>

#include <sys/stat.h>

namespace {

// The menu item that opens a box, or a box that leads to the one looked at.
using Item = int My_Widget::MenuIds::*;

// The password stored, the one typed and the button pressed ("" when no prompt is expected).
struct Login
{
    QString stored, typed, button;
    bool starts;
};

}  // namespace

Q_DECLARE_METATYPE(Item)
Q_DECLARE_METATYPE(Login)

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void passwordDecidesTheStart_data()
    {
        QTest::addColumn<Login>("login");
        const QString accented = "Gr\u00fcn \u65e5\u672c";
        QTest::newRow("no password, no prompt") << Login{"", "", "", true};
        QTest::newRow("right password") << Login{"Secret", "Secret", "Ok", true};
        QTest::newRow("empty entry") << Login{"Secret", "", "Ok", false};
        QTest::newRow("cancelled with the right password") << Login{"Secret", "Secret", "Cancel", false};
        QTest::newRow("non-ASCII password") << Login{accented, accented, "Ok", true};
    }
    // A failed prompt ends the start before any window is shown.
    void passwordDecidesTheStart()
    {
        QFETCH(Login, login);
        WorkFolder work;
        work.writeSettings({"PassWord::" + login.stored});
        DialogAnswerer answers;
        if (!login.button.isEmpty())
            answers.then([&](QWidget* dialog) {
                QLineEdit* field = dialog->findChild<QLineEdit*>();
                QCOMPARE(field->echoMode(), QLineEdit::Password);
                field->setText(login.typed);
                DialogAnswerer::pressButton(dialog, login.button);
            });
        My_Widget window;
        expectAllAnswered(answers);
        QCOMPARE(answers.texts(), login.button.isEmpty() ? QStringList() : QStringList("password:"));
        QCOMPARE(window.startedUp(), login.starts);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY2(login.starts || !top->isVisible(), top->metaObject()->className());
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

    void rowsAreWhatQDirGives_data()
    {
        QTest::addColumn<QString>("taxis");
        QTest::addColumn<QString>("hide");
        for (const char* taxis : {"0", "1", "2", "9"})
            for (const char* hide : {"0", "1"})
                QTest::addRow("Taxis %s, Hide %s", taxis, hide) << taxis << hide;
    }
    // The list reads folders itself, for speed; its rows are what QDir gives for the same
    // filter and order (less "diskb"), whatever the folder holds: links followed, broken
    // links and pipes left out, hidden names, case beyond ASCII, equal sizes and times.
    void rowsAreWhatQDirGives()
    {
        QFETCH(QString, taxis);
        QFETCH(QString, hide);
        WorkFolder work;
        const QString folder = work.makeFolder("tricky");
        for (const char* name : {"Zeta", "alpha", ".hidden folder", "big folder"})
            QDir(folder).mkdir(name);
        for (int i = 0; i < 300; ++i)  // a folder whose own size is larger than the others'
            writeFile(folder + QString("/big folder/entry with a long name %1").arg(i));
        const QList<std::tuple<QString, int, int>> files = {
            {"b.txt", 10, 5000}, {"C.txt", 10, 5000}, {"a.txt", 10, 4600}, {"d.TXT", 3000, 9000},
            {".profile", 7, 1000}, {"\u017fa", 1, 8999}, {"sb", 2, 8998}, {"\u00c9cole", 4, 8997},
            {"\u00e9t\u00e9", 5, 8996}, {"\u65e5\u672c", 6, 8994}, {"IMG\u00c4.jpg", 6, 8994}, {"IMG_b.jpg", 6, 8994},
            {"price$list", 8, 8993}, {"diskb", 9, 8992}};
        for (const auto& [name, size, age] : files)
            writeFile(folder + "/" + name, QByteArray(size, 'x'), age);
        QVERIFY(QFile::link(folder + "/Zeta", folder + "/link to folder"));
        QVERIFY(QFile::link(folder + "/d.TXT", folder + "/link to file"));
        QVERIFY(QFile::link(folder + "/nowhere", folder + "/broken link"));
        QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0644), 0);
        work.writeSettings({"File::" + folder, "Taxis::" + taxis, "Hide::" + hide});
        My_Widget window;

        const QDir& listed = window.currentFolder();
        const QStringList expected = QDir(folder).entryList(listed.filter() | QDir::NoDotAndDotDot, listed.sorting());
        QStringList rows = QStringList("..") + expected;
        rows.removeAll("diskb");
        QCOMPARE(window.fileList()->names(), rows);
        QCOMPARE(expected.contains(".profile"), hide == "1");
        QVERIFY(expected.contains("price$list") && !expected.contains("pipe") && !expected.contains("broken link"));
    }

    // Each box with its longest text: names of about 250 bytes without a blank, one inside the other.
    void everyBoxFitsTheScreen_data()
    {
        QTest::addColumn<Item>("item");  // on the long row; none: the password prompt
        QTest::addColumn<QString>("leadingAnswer");  // on a box that leads to the one looked at
        using M = My_Widget::MenuIds;
        QTest::newRow("About") << Item(&M::about) << "";
        QTest::newRow("question") << Item(&M::del) << "";
        QTest::newRow("name entry") << Item(&M::rename) << "";
        QTest::newRow("three buttons") << Item(&M::extract) << "";
        QTest::newRow("folder picker") << Item(&M::extract) << "Folder";
        QTest::newRow("failure") << Item(&M::extract) << "Ok";
        QTest::newRow("password") << Item() << "";
    }
    void everyBoxFitsTheScreen()
    {
        QFETCH(Item, item);
        QFETCH(QString, leadingAnswer);
        WorkFolder work;
        const QString archive = QString(120, QChar(0x00e9)) + ".tar.gz";
        work.write("mmc/mmca1/" + hostileNames().last() + "/" + archive, "not an archive");
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
            for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
                const QRect place(button->mapTo(dialog, QPoint()), button->size());
                if (!button->isVisible() || !dialog->rect().contains(place)
                    || button->width() < button->fontMetrics().horizontalAdvance(button->text()) + 8)
                    cut << button->text();
            }
            static_cast<QDialog*>(dialog)->reject();
        });
        if (item) {
            window.qListBox(phoneFolders().card + "/" + hostileNames().last());
            selectRow(window, window.fileList()->names().value(1));
            window.menuSelect(window.ids().*item);
        } else {
            F_Login::getDirectory();
        }
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
