#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QTest>

#include <memory>

namespace {

// The card holds the listed folder "files" with entries a command may meet, a destination
// whose own name is hostile, and a folder "alias" holding another name of files/a. The
// program of ".zzz" files and the first plugin program (found in the working folder) is a
// recorder; the second fails, the third is missing.
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
        work.write("software.txt", "Record::bin/rec\r\nBroken::/bin/false\r\nMissing::no-such-program\r\n");
        work.write("setup.txt", "zzz::" + work.recorder("bin/rec").toUtf8() + "\r\n");
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
        row("copy into an unwritable folder", {"copy", "a", {"pick:/sys", "Ok", "Ok"}, "[a] failed!\n/bin/cp: "});
        row("move into an unwritable folder", {"move", "pics", {"pick:/sys", "Ok", "Ok"}, "[pics] failed!\n/bin/mv: "});
        row("new folder onto an existing name", {"new folder", "..", {"type:b $x", "Ok"}, "[b $x] failed!\n/bin/mkdir: "});
        row("new folder proposes the first free name", {"new folder", "..", {"Cancel"}, "New Folder\nNew Folder(1)"});
        row("a new name of refused characters only", {"new folder", "..", {"type:/*?"}, "New Folder"});
        row("extract a folder", {"extract", "pics", {}, ""});
        row("a program, on the parent row", {"program 0", "..", {"Ok", "Ok"}, "[Record]"});
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
        QVERIFY(!QFileInfo::exists("/sys/a") && !QFileInfo::exists("/sys/pics"));
        QVERIFY(!card.work.read("log").contains(".."));  // no program is handed the parent row
    }
};

QTEST_MAIN(FileOperationsTest)
#include "tst_fileops.moc"
