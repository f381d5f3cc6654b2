// Commands on a card of hostile names, and the faults a hostile card or a careless user found once.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
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
#include "hostilenames.h"
#include "workfolder.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The card holds the listed folder "files" with entries a command may meet, a destination
// whose own name is hostile, and a folder "alias" holding another name of files/a. The
// program of ".zzz" files and the first plugin program (named and found in the working folder
// by names not in ASCII) is a recorder; the second fails, the third is missing.
struct Card {
    WorkFolder work;
    QString root = phoneFolders().card;
    QString files = work.makeFolder("mmc/mmca1/files");
    QString destName = "to $(touch INJECTED) `touch INJECTED` 'q' \"d\" -x";
    QString dest = work.makeFolder("mmc/mmca1/" + destName);
    std::unique_ptr<My_Widget> window;

    Card()
    {
        for (const char* name : {"pics", "files", "New Folder(2)"})
            make(name);
        for (const char* name : {"pics/sub/inner", "a", "b $x", "gone", "pics.tar.gz", "New Folder"})
            writeFile(files + "/" + name, name);
        writeFile(dest + "/a", "old");
        writeFile(dest + "/pics/old", "old");
        QDir().mkpath(root + "/alias");
        QFile::link("../files/a", root + "/alias/a");
        work.write("software.txt",
                   QString("R\u00e9cord::bin/r\u00ebc\r\nBroken::/bin/false\r\nMissing::no-such-program\r\n").toUtf8());
        work.write("setup.txt", "zzz::" + work.recorder("bin/r\u00ebc").toUtf8() + "\r\n");
        work.writeSettings({"File::" + files});
        window = std::make_unique<My_Widget>();
    }

    // A folder holding a file of the same name.
    void make(const QString& name) const { writeFile(files + "/" + name + "/" + name, name.toUtf8()); }
    TreeListing tree() const { return treeListing(root); }
};

// What the name field keeps of a name: a card's file system refuses the rest.
QString typable(QString name)
{
    return name.remove(QRegularExpression("[\\n\\r?/<>\\\\:\"*]"));
}

struct Refusal {
    QString command, row;
    QStringList answers;  // %f stands for the listed folder, %d for the destination
    QString message;      // how the last box begins; empty when no box may come
};

// The bytes \xff\xfe and this name look the same, as folders and as images.
const QString lookAlike = QString(2, QChar(0xfffd)), image = lookAlike + ".jpg";

}  // namespace

Q_DECLARE_METATYPE(Refusal)

class FileOperationsTest : public QObject
{
    Q_OBJECT
private slots:
    // Every command that hands a name to a program, with every hostile name.
    void commandsKeepHostileNames_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        for (const QString command : {"delete", "rename", "copy", "move", "new folder", "program", "open"})
            for (const QString& name : hostileNames())
                if (command != "open" || name.size() < 100)  // no room for an extension
                    QTest::addRow("%s %s", qPrintable(command), hostileRowName(name).constData()) << command << name;
    }
    void commandsKeepHostileNames()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        Card card;
        My_Widget& window = *card.window;
        const QString entry = "files/" + name, target = card.destName + "/" + name, file = card.files + "/" + name + ".zzz";
        if (command == "open")
            writeFile(file);
        else if (command != "new folder")
            card.make(name);
        if (command == "move")  // onto an older entry of the same name, which is replaced
            writeFile(card.dest + "/" + name + "/only in the old one");
        window.qListBox(card.files);
        if (command != "new folder" && command != "open")
            selectRow(window, name);
        TreeListing expected = card.tree();

        DialogAnswerer answers;
        const My_Widget::MenuIds& ids = window.ids();
        if (command == "delete") {
            answers.follow({"Ok", "Ok"});
            window.menuSelect(ids.del);
            expected = treeAfter(expected, entry, QString(), false);
        } else if (command == "rename") {
            answers.follow({"type:" + name.chopped(1) + "2", "Ok"});
            window.menuSelect(ids.ctxRename);
            // The characters of the proposed name stay; only what is typed meets the filter.
            expected = treeAfter(expected, entry, "files/" + name.chopped(1) + "2", false);
        } else if (command == "new folder") {
            answers.follow({"type:" + name, "Ok"});
            window.menuSelect(ids.newFolder);
            expected["files/" + typable(name)] = "d";
        } else if (command == "copy" || command == "move") {
            answers.follow(command == "copy" ? QStringList{"pick:" + card.dest, "Ok", "Ok"}
                                             : QStringList{"pick:" + card.dest, "Ok", "Ok", "Ok"});
            window.menuSelect(command == "copy" ? ids.copy : ids.ctxMove);
            expected = treeAfter(treeAfter(expected, target, QString(), false), entry, target, command == "copy");
        } else if (command == "program") {
            answers.follow({"Ok", "Ok"});
            window.sellSelect(window.programId(0));
            QCOMPARE(card.work.read("log"), "-d|" + name.toUtf8() + "|\n");
        } else {
            window.qListBox(file);
            QCOMPARE(card.work.read("log"), "-d|" + file.toUtf8() + "|\n");
        }
        expectAllAnswered(answers);
        QVERIFY2(!answers.texts().join("\n").contains("failed!"), qPrintable(answers.texts().join("\n")));
        QCOMPARE(card.tree(), expected);
        QVERIFY(!QFile::exists("INJECTED"));
    }

    // The command leaves the card as it was, and the last box says why (no box at all for a
    // command that does nothing on its row).
    void commandsThatChangeNothingSayWhy_data()
    {
        QTest::addColumn<Refusal>("refusal");
        const auto row = [](const char* name, const Refusal& refusal) { QTest::newRow(name) << refusal; };
        row("rename onto an existing name", {"rename", "a", {"type:b $x", "Ok"}, "[b $x] already exists"});
        // The transfer rules have a table of their own; one refusal shows the window says it.
        row("copy into itself", {"copy", "pics", {"pick:%f/pics", "Ok"}, "[pics] cannot be copied into itself"});
        row("copy onto an existing name, kept",
            {"copy", "a", {"pick:%d", "Cancel"}, "[a] already exists in [%d]. Replace it?"});
        row("pack onto an existing archive, kept",
            {"pack", "pics", {"Ok", "Cancel"}, "[pics.tar.gz] already exists in [%f]. Replace it?"});
        row("pack a folder onto an existing archive, kept",
            {"pack folder", "..", {"pick:%f/pics", "Ok", "Cancel"}, "[pics.tar.gz] already exists in [%f]. Replace it?"});
        row("pack the root", {"pack folder", "..", {"pick:/", "Ok", "Ok"}, "The root folder cannot be packed"});
        row("delete, cancelled", {"delete", "a", {"Cancel"}, "want to delete?    [a]"});
        row("copy of a vanished entry", {"copy", "gone", {"pick:%d", "Ok", "Ok"}, "[gone] failed!\n/bin/cp: "});
        // The kernel's own folder refuses new entries even to root, as a read-only card would.
        row("move into an unwritable folder", {"move", "pics", {"pick:/sys", "Ok", "Ok"}, "[pics] failed!\n/bin/mv: "});
        row("new folder onto an existing name", {"new folder", "..", {"type:b $x", "Ok"}, "[b $x] failed!\n/bin/mkdir: "});
        row("new folder proposes the first free name", {"new folder", "..", {"Cancel"}, "New Folder\nNew Folder(1)"});
        row("a new name of refused characters only", {"new folder", "..", {"type:/*?"}, "New Folder"});
        row("extract a folder", {"extract", "pics", {}, ""});
        row("a program, on the parent row", {"program 0", "..", {"Ok", "Ok"}, "[R\u00e9cord]"});
        row("a failing program", {"program 1", "a", {"Ok", "Ok"}, "[Broken] failed!\nexit status 1"});
        row("a missing program", {"program 2", "a", {"Ok", "Ok"}, "[Missing] failed!\n"});
        for (const char* command : {"delete", "rename", "copy", "move", "extract"})
            row(qPrintable(QString(command) + " the parent row"), {command, "..", {}, ""});
    }
    void commandsThatChangeNothingSayWhy()
    {
        QFETCH(Refusal, refusal);
        Card card;
        My_Widget& window = *card.window;
        selectRow(window, refusal.row);
        QFile::remove(card.files + "/gone");
        const TreeListing before = card.tree();

        DialogAnswerer answers;
        answers.follow(refusal.answers.replaceInStrings("%f", card.files).replaceInStrings("%d", card.dest));
        const My_Widget::MenuIds& ids = window.ids();
        const QMap<QString, int> items = {{"delete", ids.del}, {"rename", ids.rename}, {"copy", ids.ctxCopy},
                                          {"move", ids.move}, {"new folder", ids.newFolder}, {"pack", ids.newTar},
                                          {"pack folder", ids.packTar}, {"extract", ids.extract}};
        if (refusal.command.startsWith("program"))
            window.sellSelect(window.programId(refusal.command.back().digitValue()));
        else
            window.menuSelect(items[refusal.command]);

        expectAllAnswered(answers);
        const QString message = refusal.message.replace("%f", card.files).replace("%d", card.dest);
        QVERIFY2(message.isEmpty() ? answers.texts().isEmpty() : answers.texts().last().startsWith(message),
                 qPrintable(answers.texts().join("\n---\n")));
        QCOMPARE(card.tree(), before);
        QVERIFY(!card.work.read("log").contains(".."));  // no program is handed the parent row
    }
    // A folder named to add a line to "system.txt" is listed, and not stored.
    void lineBreakNeverReachesTheSettings()
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

    void everyListActsOnTheEntryItShows_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("refusals");   // one per row of the bytes tried; none where they are left out
        QTest::addColumn<QStringList>("acted");  // what the list hands on, picks or keeps
        QTest::newRow("main: rename and delete by the bytes") << "main" << 2 << QStringList{lookAlike, "__.jpg", image};
        QTest::newRow("multi-file") << "multi-file" << 2 << QStringList{lookAlike, image};
        QTest::newRow("editor browser") << "editor" << 1 << QStringList{image};
        QTest::newRow("picker") << "picker" << 0 << QStringList{lookAlike};
        QTest::newRow("viewer") << "viewer" << 0 << QStringList{image};
        QTest::newRow("search") << "search" << 0 << QStringList{image};
    }
    // Beside the look-alikes, a link to a pipe is no image. Lists show the bytes and refuse them,
    // or leave them out where the name travels as text; what any list acts on is the look-alike's
    // own entry.
    void everyListActsOnTheEntryItShows()
    {
        QFETCH(QString, list);
        QFETCH(int, refusals);
        QFETCH(QStringList, acted);
        WorkFolder work;
        const QString card = phoneFolders().card;
        const QByteArray cardBytes = QFile::encodeName(card) + "/";
        for (const QByteArray& name : {QByteArray("\xff\xfe"), lookAlike.toUtf8()})
            QVERIFY(::mkdir(cardBytes + name, 0755) == 0 && ::close(::creat(cardBytes + name + ".jpg", 0644)) == 0);
        QVERIFY(::mkfifo(cardBytes + "pipe", 0644) == 0 && ::symlink("pipe", cardBytes + "pipe.jpg") == 0);
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
        QCOMPARE(::access(cardBytes + "\xff\xfe.jpg", F_OK) == 0, list != "main");
        for (const char* bytes : {"\xff\xfe", "\xff\xfe.jpg"})  // the temporary folder cannot name them
            removeByBytes(card, bytes);
    }

    // A card that is not inserted, and a folder that cannot be read, say so.
    void missingPlacesAreNamed()
    {
        WorkFolder work;
        const QString locked = work.makeFolder("locked");
        DialogAnswerer answers;
        answers.press("Ok").press("Ok").press("Ok");
        My_Widget window;
        // A card pulled while shown; without the handset's folders, the phone folder is the home
        // folder and the download folder the user's.
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
};

QTEST_MAIN(FileOperationsTest)
#include "tst_fileops.moc"
