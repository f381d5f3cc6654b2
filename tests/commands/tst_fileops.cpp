// Commands on a card of hostile names, opening by type, and the faults a hostile card or a careless
// user found once.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "mainwindow/my_listbox.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
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
        for (const QString command : {"delete", "rename", "copy", "move", "program", "open"})
            for (const QString& name : hostileNames())
                if (command != "open" || name.size() < 100)  // no room for an extension
                    QTest::addRow("%s %s", qPrintable(command), qPrintable(QString(name).replace('\n', "\\n").left(20))) << command << name;
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
        else
            card.make(name);
        if (command == "move")  // onto an older entry of the same name, which is replaced
            writeFile(card.dest + "/" + name + "/only in the old one");
        window.qListBox(card.files);
        if (command != "open")
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
        } else if (command == "copy" || command == "move") {
            answers.follow(QStringList{"pick:" + card.dest} + QStringList(command == "copy" ? 2 : 3, "Ok"));
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
        row("move into an unwritable folder", {"move", "pics", {"pick:/sys", "Ok", "Ok"}, "[pics] failed!\ncannot write into [/sys]"});
        row("new folder onto an existing name", {"new folder", "..", {"type:b $x", "Ok"}, "[b $x] already exists"});
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

    // Beside the look-alikes, a link to a pipe is no image. Lists show the bytes and refuse them,
    // or leave them out where the name travels as text; what any list acts on is the look-alike's
    // own entry. The main list comes last: it renames and deletes by the bytes.
    void everyListActsOnTheEntryItShows()
    {
        WorkFolder work;
        const QString card = phoneFolders().card;
        const QByteArray cardBytes = QFile::encodeName(card) + "/";
        for (const QByteArray& name : {QByteArray("\xff\xfe"), lookAlike.toUtf8()})
            QVERIFY(::mkdir(cardBytes + name, 0755) == 0 && ::close(::creat(cardBytes + name + ".jpg", 0644)) == 0);
        QVERIFY(::mkfifo(cardBytes + "pipe", 0644) == 0 && ::symlink("pipe", cardBytes + "pipe.jpg") == 0);
        // A list, its refusals (one per row of the bytes tried; none where they are left out), and
        // what it hands on, picks or keeps.
        const std::tuple<QString, int, QStringList> lists[] = {
            {"multi-file", 2, {lookAlike, image}}, {"editor", 1, {image}}, {"picker", 0, {lookAlike}},
            {"viewer", 0, {image}}, {"search", 0, {image}}, {"main", 2, {lookAlike, "__.jpg", image}}};
        for (const auto& [list, refusals, acted] : lists) {
            DialogAnswerer answers;
            // The main list's also ask, name and tell.
            answers.follow(QStringList(list == "main" ? 6 : refusals, "Ok"));
            QStringList rows, done;  // the rows of a list that shows the bytes; the names or paths acted on
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
                rows = window.fileList()->names();
                for (int row = 0; row < rows.size(); ++row)
                    window.fileList()->doItemClicked(window.fileList()->item(row));
                window.menuSelect(window.markId());
                window.softKeyBar()->getMidBtn()->click();
                done = splitNameList(handed.value(0).value(0).toString());
            } else if (list == "editor") {
                FileBrowser browser("*.jpg", nullptr, nullptr);
                browser.setDir(card);
                for (int row = 0; row < browser.count(); ++row) {
                    rows << browser.item(row)->text();
                    browser.itemHighlighted(row);
                    if (!browser.pickedFile().isEmpty())
                        done << browser.pickedFile();
                    if (rows.last().endsWith(".jpg"))
                        browser.itemClicked(browser.item(row));
                }
            } else if (list == "picker") {
                DirectoryView view(nullptr);
                auto* root = new Directory(&view, card);
                root->setOpen(true);
                for (int i = 0; i < root->childCount(); ++i)
                    done << static_cast<Directory*>(root->child(i))->fullName();
            } else if (list == "viewer") {
                done = ImageViewer(card + "/" + image).images();
            } else {
                FileWalk walk(false, [](const FolderEntry&) { return true; });
                walk.walk(card);
                done = splitNameList(walk.names());
            }
            done.replaceInStrings(card + "/", "");
            QVERIFY2(done == acted, qPrintable(list + ": " + done.join(", ")));
            QVERIFY2(rows.count(lookAlike) + rows.count(image) == (refusals > 0 ? 4 : 0), qPrintable(list));
            expectAllAnswered(answers);
            QCOMPARE(answers.texts().filter("cannot be used: its name is not valid UTF-8").size(), refusals);
        }
        QVERIFY(QFile::exists(card + "/" + lookAlike) && QFile::exists(card + "/" + image));
        QCOMPARE(::access(cardBytes + "\xff\xfe.jpg", F_OK), -1);
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
        work.write("xdg/config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"" + work.makeFolder("Downloads").toUtf8() + "\"\n");
        window.menuSelect(window.ids().phoneDir);
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

    void opensByType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("program");  // the file is an executable program
        QTest::addColumn<QString>("log");   // what the programs started record; %1 is the path
        QTest::addColumn<QString>("dialog");  // how the box shown begins
        QTest::newRow("every matching line, in file order") << "Song.Mp3" << false
                                                             << "first|-d|%1|\nsecond|-d|%1|\n" << "";
        QTest::newRow("a line before the built-in rules") << "x.tar.gz" << false << "gz|-d|%1|\n" << "";
        QTest::newRow("a command holding ::") << "x.odd" << false << "a::b|-d|%1|\n" << "";
        QTest::newRow("a failed line is reported, the others run")
            << "x.bad" << false << "after|-d|%1|\n" << "[x.bad] failed!\nexit status 1";
        QTest::newRow("tgz") << "x.TGZ" << false << "" << "Extract files%1 to this dir";
        QTest::newRow("rar, any case") << "Photos.RAR" << false << "" << "Extract RAR archive   [Photos.RAR] to this dir";
        QTest::newRow("zip") << "x.zip" << false << "" << "Extract ZIP archive   [x.zip] to this dir";
        QTest::newRow("text, no association: Edit") << "a.txt" << false << "" << "Cannot hand [a.txt] to Edit";
        QTest::newRow("only dots, text by content") << "..." << false << "" << "Cannot hand [...] to Edit";
        QTest::newRow("no association") << "a.mp4" << false << "" << "No associate programm";
        QTest::newRow("no association, the desktop's application offered")
            << "a.pdf" << false << "" << "No associate programm\nOpen it in [Reader]?";
        QTest::newRow("jar") << "Game it's.JAR" << false << "-classpath|%1|\n" << "";
        QTest::newRow("lin") << "run $(touch INJECTED).lin" << true << "\n" << "";
        QTest::newRow("lin, not executable") << "tool.lin" << false << "" << "[tool.lin] failed!\n";
        QTest::newRow("image, viewer missing") << "x.png" << false << "" << "Cannot start [";
    }
    void opensByType()
    {
        QFETCH(QString, name);
        QFETCH(bool, program);
        QFETCH(QString, log);
        QFETCH(QString, dialog);
        WorkFolder work;
        const QByteArray rec = work.recorder("bin/rec").toUtf8();
        QCOMPARE(work.recorder("usr/SYSjava/kvm"), phoneFolders().javaRuntime);
        work.write("setup.txt", "mp3$ogg::" + rec + " first\r\nMP3::" + rec + " upper\r\nmp3\r\nmp3::\r\nwav::" + rec
                                    + " other\nogg$mp3::" + rec + " second\ngz::" + rec + " gz\nbad::/bin/false\nbad::"
                                    + rec + " after\nodd::" + rec + " a::b\n");
        work.writeSettings({"ImgFile::"});
        work.write("xdg/data/applications/reader.desktop", "[Desktop Entry]\nType=Application\nName=Reader\nExec=" + rec
                                                                 + "\nMimeType=application/pdf;\n");
        const QString path = phoneFolders().card + "/" + name;
        if (program)
            work.recorder("mmc/mmca1/" + name);
        else
            work.write("mmc/mmca1/" + name, "data");
        My_Widget window;
        DialogAnswerer answers;  // with no step left, a box is closed unanswered
        window.shell(path);
        QCOMPARE(QString::fromUtf8(work.read("log")), QString(log).replace("%1", path));
        QCOMPARE(answers.texts().size(), dialog.isEmpty() ? 0 : 1);
        QVERIFY2(dialog.isEmpty() || answers.texts().value(0).startsWith(dialog.replace("%1", path)),
                 qPrintable(answers.texts().value(0)));
        QCOMPARE(QDir(phoneFolders().card).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList(name));
        QCOMPARE(fromStoredBytes(iniRead("ImgFile")), name.endsWith(".png") ? path : "");
        QVERIFY(!QFile::exists("INJECTED"));
    }

    void recordingAnAssociation_data()
    {
        QTest::addColumn<QByteArray>("before");  // null: no "setup.txt"
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("told");
        QTest::newRow("replaces its extension, drops empty lines") << QByteArray("mp3::a\r\n\r\njpg::b\r\n")
            << "/mmc/mmca1/Song.MP3" << QByteArray("jpg::b\r\nmp3::/usr/bin/player\r\n") << "";
        QTest::newRow("keeps lists and longer extensions") << QByteArray("jpg$mp3::x\nmp3x::y\nmp3::old\n")
            << "/a/b.mp3" << QByteArray("jpg$mp3::x\r\nmp3x::y\r\nmp3::/usr/bin/player\r\n") << "";
        QTest::newRow("no dot") << QByteArray("") << "/a/README" << QByteArray("readme::/usr/bin/player\r\n") << "";
        QTest::newRow("only dots") << QByteArray("mp3::a\n") << "/a/..." << QByteArray("mp3::a\n") << "";
        for (const char* name : {"b.x$y", "b.x::", "b.x:"})
            QTest::newRow(name) << QByteArray("mp3::a\n") << QString("/a/") + name << QByteArray("mp3::a\n")
                                << QString("[%1] opened, but not remembered for its type: the extension holds \":\", \"$\" or a line break").arg(name);
        QTest::newRow("only where the user keeps them") << QByteArray() << "/a/b.mp3" << QByteArray() << "";
    }
    void recordingAnAssociation()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, file);
        QFETCH(QByteArray, after);
        QFETCH(QString, told);
        WorkFolder work;
        if (!before.isNull()) {
            work.write("setup.txt", before);
            // A second name of the old file: a rewrite in place would change it too.
            QCOMPARE(::link(QFile::encodeName(work.file("setup.txt")).constData(),
                            QFile::encodeName(work.file("old")).constData()), 0);
        }
        My_Widget window;
        DialogAnswerer answers;  // with no step left, a box is closed unanswered
        window.Wr("/usr/bin/player", file);
        QCOMPARE(answers.texts().join(""), told);
        QCOMPARE(work.read("setup.txt"), after);
        QCOMPARE(work.read("old"), before);
        QCOMPARE(QFile::exists(work.file("setup.txt")), !before.isNull());
    }

    // Open Text hands the file to the editor through "TXTFile"; an editor that cannot be
    // started is reported, and without the line it is not started at all.
    void openTextHandsTheFileToTheEditor()
    {
        WorkFolder work;
        const QString name = "notes $(touch INJECTED) \u65e5.txt";
        work.write("mmc/mmca1/" + name, "text");
        work.write("mmc/mmca1/note\nTXTFile::x");  // a path that would be two lines
        work.writeSettings({"Hide::0"});
        My_Widget window;
        selectRow(window, name);
        DialogAnswerer answers;
        answers.follow({"Ok", "Ok", "Ok"});
        window.menuSelect(window.ids().openText);
        work.writeSettings({"TXTFile::"});
        window.menuSelect(window.ids().openText);
        QCOMPARE(fromStoredBytes(iniRead("TXTFile")), phoneFolders().card + "/" + name);
        work.recorder("Edit");
        window.menuSelect(window.ids().openText);
        QTRY_COMPARE(work.read("log"), QByteArray("\n"));
        selectRow(window, "note\nTXTFile::x");
        window.menuSelect(window.ids().openText);
        expectAllAnswered(answers);
        QCOMPARE(answers.texts(), QStringList({"Cannot hand [" + name + "] to Edit: system.txt has no TXTFile line or cannot be written",
                                               "Cannot start [" + work.file("Edit") + "]",
                                               "[note\nTXTFile::x] cannot be handed over: its path holds a line break"}));
        QCOMPARE(work.read("system.txt"), "TXTFile::" + (phoneFolders().card + "/" + name).toUtf8() + "\r\n");
        QVERIFY(!QFile::exists("INJECTED"));
    }
};

QTEST_MAIN(FileOperationsTest)
#include "tst_fileops.moc"
