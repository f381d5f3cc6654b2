// Faults a hostile card or a careless user would find: each case failed once.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "mainwindow/my_listbox.h"
#include "core/paths.h"
#include "commands/entry_bytes.h"
#include "commands/transfer.h"
#include "editor/file_browser.h"
#include "multifile/f_file_6_n.h"
#include "multifile/fmy_listbox.h"
#include "picker/folder_picker.h"
#include "platform/softkeys.h"
#include "search/file_walk.h"
#include "viewer/image_viewer.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void lineBreakNeverReachesTheSettings();
    void everyListActsOnTheEntryItShows_data();
    void everyListActsOnTheEntryItShows();
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

void FaultsTest::everyListActsOnTheEntryItShows_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("refusals");   // one per row of the bytes tried; none where they are left out
    QTest::addColumn<QStringList>("acted");  // what the list hands on, picks or keeps
    const QString lookAlike = QString(2, QChar(0xfffd)), image = lookAlike + ".jpg";
    QTest::newRow("main: rename and delete by the bytes") << "main" << 2 << QStringList{lookAlike, "__.jpg", image};
    QTest::newRow("multi-file") << "multi-file" << 2 << QStringList{lookAlike, image};
    QTest::newRow("editor browser") << "editor" << 1 << QStringList{image};
    QTest::newRow("picker") << "picker" << 0 << QStringList{lookAlike};
    QTest::newRow("viewer") << "viewer" << 0 << QStringList{image};
    QTest::newRow("search") << "search" << 0 << QStringList{image};
}

// The bytes \xff\xfe and the name U+FFFD U+FFFD look the same, as folders and as images; a
// link to a pipe is no image. Lists show the bytes and refuse them, or leave them out where
// the name travels as text; what any list acts on is the look-alike's own entry.
void FaultsTest::everyListActsOnTheEntryItShows()
{
    QFETCH(QString, list);
    QFETCH(int, refusals);
    QFETCH(QStringList, acted);
    WorkFolder work;
    const QString card = phoneFolders().card;
    const QByteArray cardBytes = QFile::encodeName(card);
    const QString lookAlike = QString(2, QChar(0xfffd)), image = lookAlike + ".jpg";
    for (const QByteArray& name : {QByteArray("\xff\xfe"), lookAlike.toUtf8()})
        QVERIFY(::mkdir((cardBytes + "/" + name).constData(), 0755) == 0 && ::close(::creat((cardBytes + "/" + name + ".jpg").constData(), 0644)) == 0);
    QVERIFY(::mkfifo((cardBytes + "/pipe").constData(), 0644) == 0 && ::symlink("pipe", (cardBytes + "/pipe.jpg").constData()) == 0);
    DialogAnswerer answers;
    for (int i = 0; i < (list == "main" ? 6 : refusals); ++i)  // the main list's also ask, name and tell
        answers.press("Ok");
    QStringList rows, done;
    if (list == "main") {
        My_Widget window;
        FileRowList* files = window.fileList();
        rows = files->names();
        QList<int> bad;  // the folder's row, then the image's, also after a rename of the image
        for (int row = 0; row < rows.size(); ++row)
            if (files->isUndecodable(row))
                bad << row;
        const My_Widget::MenuIds& ids = window.ids();
        const std::pair<int, int> steps[] = {{0, ids.copy}, {1, ids.copy}, {1, ids.rename}, {0, ids.del}};
        for (const auto& [row, action] : steps) {
            files->setCurrentItem(bad.value(row));
            window.menuSelect(action);
        }
        done = files->names().mid(1);
    } else if (list == "multi-file") {
        F_File_6_N window(nullptr, "Copy files", card, int(Transfer::Copy));
        QSignalSpy handed(&window, &F_File_6_N::onNeedGUI);
        FMy_ListBox* files = window.fileList();
        rows = files->names();
        for (int row = 0; row < files->count(); ++row)
            files->doItemClicked(files->item(row));
        window.menuSelect(window.markId());
        window.softKeyBar()->getMidBtn()->click();
        for (const QString& path : splitNameList(handed.value(0).value(0).toString()))
            done << fnames(path);
    } else if (list == "editor") {
        FileBrowser browser("*.jpg", nullptr, nullptr);
        browser.setDir(card);
        for (int row = 0; row < browser.count(); ++row) {
            rows << browser.item(row)->text();
            browser.itemHighlighted(row);
            if (!browser.pickedFile().isEmpty())
                done << fnames(browser.pickedFile());
            if (rows.last().endsWith(".jpg"))
                browser.itemClicked(browser.item(row));
        }
    } else if (list == "picker") {
        DirectoryView view(nullptr);
        auto* root = new Directory(&view, card);
        root->setOpen(true);
        for (int i = 0; i < root->childCount(); ++i)
            done << fnames(static_cast<Directory*>(root->child(i))->fullName());
        rows = done;
    } else if (list == "viewer") {
        rows = done = ImageViewer(card + "/" + image).images();
    } else {
        FileWalk walk(false, [](const FolderEntry&) { return true; });
        walk.walk(card);
        rows = done = splitNameList(walk.names());
    }
    QCOMPARE(done, acted);
    QCOMPARE(rows.count(lookAlike) + rows.count(image), refusals > 0 ? 4 : 1);
    expectAllAnswered(answers);
    QCOMPARE(answers.texts().filter("cannot be used: its name is not valid UTF-8").size(), refusals);
    QVERIFY(QFile::exists(card + "/" + lookAlike) && QFile::exists(card + "/" + image));
    QCOMPARE(::access((cardBytes + "/\xff\xfe.jpg").constData(), F_OK) == 0, list != "main");
    for (const char* bytes : {"\xff\xfe", "\xff\xfe.jpg"})  // the temporary folder cannot name them
        removeByBytes(card, bytes);
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

// A card that is not inserted, and a folder that cannot be read, say so.
void FaultsTest::missingPlacesAreNamed()
{
    WorkFolder work;
    const QString locked = work.makeFolder("locked");
    work.write("locked/inside", "x");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    My_Widget window;
    phoneFolders().card = work.file("no card");
    window.menuSelect(window.ids().sdCard);
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
    QCOMPARE(answers.texts().value(0), "[SD card] " + work.file("no card") + " is not there");
    QVERIFY2(answers.texts().value(1).startsWith("[locked] cannot be read"), qPrintable(answers.texts().value(1)));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
