#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QStringList rowsOf(My_Widget& window)
{
    return window.fileList()->names();
}

}  // namespace

class ListingTest : public QObject
{
    Q_OBJECT
private slots:
    void sortsFoldersFirstThenBySetting_data();
    void sortsFoldersFirstThenBySetting();
    void parentRowExceptAtRoot();
    void hiddenEntriesFollowTheSetting_data();
    void hiddenEntriesFollowTheSetting();
    void neverShowsDiskb();
    void nameWithDollarIsOneRow();
    void storesEveryListedFolder();
    void handsAFileOnInsteadOfListingIt();
    void startsInTheLastFolderEvenWithNonAsciiName();
    void startsOnTheCardOrTheRoot();
};

void ListingTest::sortsFoldersFirstThenBySetting_data()
{
    QTest::addColumn<QString>("taxis");
    QTest::addColumn<QStringList>("rows");
    // Folders "b" and "A"; files with sizes and ages (seconds) chosen so each order differs.
    QTest::newRow("by name, case ignored") << "0" << QStringList{"..", "A", "b", "a.txt", "B.txt", "c.txt", "D.txt"};
    QTest::newRow("unknown value sorts by name") << "3" << QStringList{"..", "A", "b", "a.txt", "B.txt", "c.txt", "D.txt"};
    QTest::newRow("by time, newest first, ties by name")
        << "1" << QStringList{"..", "A", "b", "c.txt", "a.txt", "D.txt", "B.txt"};
    QTest::newRow("by size, largest first, ties by name")
        << "2" << QStringList{"..", "A", "b", "B.txt", "a.txt", "D.txt", "c.txt"};
}

void ListingTest::sortsFoldersFirstThenBySetting()
{
    QFETCH(QString, taxis);
    QFETCH(QStringList, rows);
    WorkFolder work;
    const QString folder = work.makeFolder("mmc/mmca1/sorted");
    QDir().mkdir(folder + "/b");
    QDir().mkdir(folder + "/A");
    makeFile(folder + "/a.txt", 20, 200);
    makeFile(folder + "/B.txt", 30, 400);
    makeFile(folder + "/c.txt", 10, 100);
    makeFile(folder + "/D.txt", 20, 200);
    work.writeSettings({"File::" + folder, "Taxis::" + taxis});
    My_Widget window;
    QCOMPARE(rowsOf(window), rows);
}

void ListingTest::parentRowExceptAtRoot()
{
    WorkFolder work;
    My_Widget window;
    window.qListBox("/");
    QVERIFY(!rowsOf(window).isEmpty());
    QVERIFY(!rowsOf(window).contains(".."));
    QCOMPARE(window.currentFolder().absolutePath(), QString("/"));
    window.qListBox(phoneFolders().card);
    QCOMPARE(rowsOf(window).value(0), QString(".."));
    QCOMPARE(window.fileList()->currentItem(), 0);
}

void ListingTest::hiddenEntriesFollowTheSetting_data()
{
    QTest::addColumn<QString>("hide");
    QTest::addColumn<bool>("shown");
    QTest::newRow("1 shows them") << "1" << true;
    QTest::newRow("0 hides them") << "0" << false;
    QTest::newRow("other values hide them") << "yes" << false;
}

void ListingTest::hiddenEntriesFollowTheSetting()
{
    QFETCH(QString, hide);
    QFETCH(bool, shown);
    WorkFolder work;
    makeFile(phoneFolders().card + "/.profile");
    work.makeFolder("mmc/mmca1/.config");
    makeFile(phoneFolders().card + "/seen");
    work.writeSettings({"Hide::" + hide});
    My_Widget window;
    const QStringList expected = shown ? QStringList{"..", ".config", ".profile", "seen"} : QStringList{"..", "seen"};
    QCOMPARE(rowsOf(window), expected);
}

void ListingTest::neverShowsDiskb()
{
    WorkFolder work;
    work.makeFolder("mmc/mmca1/diskb");
    work.makeFolder("mmc/mmca1/sub");
    makeFile(phoneFolders().card + "/sub/diskb");
    makeFile(phoneFolders().card + "/sub/diskb2");
    My_Widget window;
    QCOMPARE(rowsOf(window), (QStringList{"..", "sub"}));
    window.qListBox("sub");
    QCOMPARE(rowsOf(window), (QStringList{"..", "diskb2"}));
}

void ListingTest::nameWithDollarIsOneRow()
{
    WorkFolder work;
    makeFile(phoneFolders().card + "/price$list");
    makeFile(phoneFolders().card + "/list");
    My_Widget window;
    QCOMPARE(rowsOf(window), (QStringList{"..", "list", "price$list"}));
    window.fileList()->setCurrentItem(2);
    QCOMPARE(window.fileList()->Istr(), QString("price$list"));
}

void ListingTest::storesEveryListedFolder()
{
    WorkFolder work;
    const QString photos = work.makeFolder("mmc/mmca1/photos");
    work.writeSettings({"Hide::0", "File::" + photos});
    My_Widget window;
    QCOMPARE(window.currentFolder().absolutePath(), photos);
    window.qListBox("..");
    QCOMPARE(window.currentFolder().absolutePath(), phoneFolders().card);
    QCOMPARE(work.read("system.txt"), ("Hide::0\r\nFile::" + phoneFolders().card + "\r\n").toUtf8());
    window.qListBox(photos + "/../../mmca1//photos/");
    QCOMPARE(window.currentFolder().absolutePath(), photos);
}

void ListingTest::handsAFileOnInsteadOfListingIt()
{
    WorkFolder work;
    makeFile(phoneFolders().card + "/notes.txt");
    work.writeSettings({"File::" + phoneFolders().card});
    My_Widget window;
    window.fileList()->setCurrentItem(1);
    window.isOpen();
    DialogAnswerer answers;
    answers.press("Ok");
    window.qListBox("notes.txt");
    QCOMPARE(answers.texts(), QStringList{"No associate programm"});
    QCOMPARE(window.currentFolder().absolutePath(), phoneFolders().card);
    QCOMPARE(rowsOf(window), (QStringList{"..", "notes.txt"}));
    // The row items wait for the next refresh of their states.
    QVERIFY(!window.actionMenu()->isItemEnabled(window.ids().del));
    QCOMPARE(work.read("system.txt"), ("File::" + phoneFolders().card + "\r\n").toUtf8());
}

void ListingTest::startsInTheLastFolderEvenWithNonAsciiName()
{
    WorkFolder work;
    const QString folder = work.makeFolder(QString::fromUtf8("mmc/mmca1/Caf\xc3\xa9 \xe6\x97\xa5"));
    work.writeSettings({"File::"});
    {
        My_Widget window;
        window.qListBox(folder);
    }
    QVERIFY(work.read("system.txt").contains(folder.toUtf8()));
    My_Widget again;
    QCOMPARE(again.currentFolder().absolutePath(), folder);
}

void ListingTest::startsOnTheCardOrTheRoot()
{
    WorkFolder work;
    makeFile(phoneFolders().card + "/file");
    work.writeSettings({"File::" + phoneFolders().card + "/file"});
    {
        My_Widget window;
        QCOMPARE(window.currentFolder().absolutePath(), phoneFolders().card);
    }
    phoneFolders().card = work.file("no/card/here");
    work.writeSettings({"File::" + work.file("gone")});
    My_Widget window;
    QCOMPARE(window.currentFolder().absolutePath(), QString("/"));
}

QTEST_MAIN(ListingTest)
#include "tst_listing.moc"
