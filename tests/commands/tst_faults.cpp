// Faults a hostile card or a careless user would find: each case failed once.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class FaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void lineBreakNeverReachesTheSettings();
    void rowOfBytesThatAreNotUtf8IsNeverActedOn();
    void pluginProgramOfAnyNameRunsOnTheRowsFile();
    void missingPlacesAreNamed();
};

// A folder named to add a line to "system.txt" is listed, and not stored.
void FaultsTest::lineBreakNeverReachesTheSettings()
{
    WorkFolder work;
    work.writeSettings({"File::" + phoneFolders().card, "PassWord::"});
    const QString evil = work.makeFolder("mmc/mmca1/evil\nPassWord::1234");
    const QByteArray settings = work.read("system.txt");
    My_Widget window;
    window.qListBox(evil);
    QCOMPARE(window.fileList()->count(), 1);
    QCOMPARE(work.read("system.txt"), settings);
}

// The row of the bytes \xff\xfe and the row of the name U+FFFD U+FFFD look the same; only
// the second may be acted on, and only on its own entry.
void FaultsTest::rowOfBytesThatAreNotUtf8IsNeverActedOn()
{
    WorkFolder work;
    const QByteArray card = QFile::encodeName(phoneFolders().card);
    const QString lookAlike = QString(2, QChar(0xfffd));
    for (const QByteArray& name : {QByteArray("\xff\xfe"), lookAlike.toUtf8()})
        QVERIFY(::close(::creat((card + "/" + name).constData(), 0644)) == 0);
    My_Widget window;
    QCOMPARE(window.fileList()->names(), QStringList({"..", lookAlike, lookAlike}));
    const int bytesRow = window.fileList()->isUndecodable(1) ? 1 : 2;
    DialogAnswerer answers;
    answers.press("Ok").press("Ok").press("Ok");
    window.fileList()->setCurrentItem(bytesRow);
    window.menuSelect(window.ids().del);
    window.fileList()->setCurrentItem(3 - bytesRow);
    window.menuSelect(window.ids().del);
    expectAllAnswered(answers);
    QVERIFY2(answers.texts().value(0).endsWith("cannot be used: its name is not valid UTF-8"), qPrintable(answers.texts().value(0)));
    QVERIFY(::access((card + "/\xff\xfe").constData(), F_OK) == 0);
    QVERIFY(!QFile::exists(phoneFolders().card + "/" + lookAlike));
}

// A program of a name not in ASCII, found from the current folder.
void FaultsTest::pluginProgramOfAnyNameRunsOnTheRowsFile()
{
    WorkFolder work;
    work.write("bin/r\u00ebc", "#!/bin/sh\n[ \"$1\" = -d ] && cat -- \"$2\" > /dev/null\n");
    QFile::setPermissions(work.file("bin/r\u00ebc"), QFile::ReadOwner | QFile::ExeOwner);
    work.write("software.txt", "R\xc3\xa9" "c::bin/r\xc3\xab" "c\r\n");
    work.write("mmc/mmca1/song one.mp3", "music");
    My_Widget window;
    QCOMPARE(window.pluginMenu()->text(window.programId(0)), "R\u00e9c");
    selectRow(window, "song one.mp3");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.sellSelect(window.programId(0));
    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList({"start ?   [R\u00e9c]", "[R\u00e9c]"}));
}

// A card pulled while shown, a card that is not inserted, and a folder that cannot be read, say
// so. Without the handset's folders, the phone folder is the home folder and the download folder
// the user's.
void FaultsTest::missingPlacesAreNamed()
{
    WorkFolder work;
    const QString locked = work.makeFolder("locked");
    work.write("locked/inside", "x");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok").press("Ok");
    My_Widget window;
    window.qListBox(work.makeFolder("mmc/mmca1/photos"));
    QVERIFY(QDir(work.file("mmc")).removeRecursively() && QDir(work.file("diska")).removeRecursively());
    window.qListBox("..");
    QCOMPARE(window.currentFolder().absolutePath(), QDir::homePath());
    window.menuSelect(window.ids().sdCard);
    QVERIFY(QDir(work.file("ezxlocal")).removeRecursively());
    qputenv("XDG_CONFIG_HOME", work.path().toUtf8());
    work.write("user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"" + work.makeFolder("Downloads").toUtf8() + "\"\n");
    window.menuSelect(window.ids().phoneDir);
    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(window.currentFolder().absolutePath(), work.file("Downloads"));
    QFile::setPermissions(work.path(), QFile::permissions(work.path()) | QFile::ExeOther | QFile::ReadOther);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Root reads every folder: look at it as somebody else.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot)
        QVERIFY(::setegid(65534) == 0 && ::seteuid(65534) == 0);
    window.qListBox(locked);
    if (asRoot)
        QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
    expectAllAnswered(answers);
    const QString noCard = "[SD card] " + work.file("mmc/mmca1") + " is not there";
    QCOMPARE(answers.texts().mid(0, 2), QStringList({noCard, noCard}));
    QVERIFY2(answers.texts().value(2).startsWith("[locked] cannot be read"), qPrintable(answers.texts().value(2)));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
