#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "properties/app_picker.h"
#include "properties/file_widget.h"
#include "workfolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

// Blanks, quotes, a line break, a leading "-" and two ways to run a command.
const QString hostile = "-rf $(touch INJECTED) it's `touch INJECTED`\n\"q\"";
// An application of a database whose program is "app 1/run" in the card's download folder.
const QByteArray game = "AllPosition = x\nDirectory = app 1\nName = Game\nExec = run\nuid = 7\n";

}  // namespace

class InfoTest : public QObject
{
    Q_OBJECT
private slots:
    void propertiesFromTheContextMenu_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("bytes");  // -1: a folder
        QTest::addColumn<QString>("type");  // what follows "Type"
        QTest::addColumn<QString>("size");  // a folder: its size on the card, as du tells it
        QTest::newRow("tar.gz, a KB and a half") << "c.tar.gz" << qint64(1536) << " :gz" << "1       KB";
        QTest::newRow("5 GB, past 32 bits") << hostile + ".iso" << (qint64(5) << 30) << " :iso" << "5       GB";
        QTest::newRow("folder") << hostile << qint64(-1) << ": Folder  " << "10?K";
    }

    // A folder is measured by du, its output read straight from the program.
    void propertiesFromTheContextMenu()
    {
        QFETCH(QString, name);
        QFETCH(qint64, bytes);
        QFETCH(QString, type);
        QFETCH(QString, size);
        WorkFolder work;
        const QString path = phoneFolders().card + "/" + name;
        QFile file(path);
        if (bytes < 0) {
            work.write("mmc/mmca1/" + name + "/inside", QByteArray(100000, 'x'));
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(bytes));  // sparse
        }
        work.writeSettings({"File::" + phoneFolders().card});
        My_Widget main;
        selectRow(main, name);

        main.menuSelect(main.ids().info);
        const FileWidget_W* window = main.findChild<FileWidget_W*>();
        QVERIFY(window && window->isVisible());
        QString shown = window->findChild<QLabel*>("Nlabel")->text();
        // 100,000 bytes take 100 to 109 KB of blocks, whatever the card's block size.
        shown.replace(QRegularExpression("Size: 10\\dK\n"), "Size: 10?K\n");
        QCOMPARE(shown, "\nName:\n\nType" + type + "\n\nDirs: " + phoneFolders().card + "\n\nSize: " + size
                            + "\n\nDate: " + QFileInfo(path).lastModified().toString() + "\n\n");
        QCOMPARE(window->findChild<QLineEdit*>("Edit")->text(), name);
        QCOMPARE(injectedFiles(work.path()), QStringList());
    }

    void openIn_data()
    {
        QTest::addColumn<QString>("ending");  // of the file's name; "q9z": a PNG known by its content alone
        QTest::addColumn<QString>("database");
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<QStringList>("names");  // the rows after the phone's own four
        QTest::addColumn<int>("row");            // -1: none chosen, -2: "Cancel"
        QTest::addColumn<QString>("outcome");    // "started", or the message shown
        const QString cardDb = "mmc/mmca1/.system/java/PlugCardDB";
        const QString phoneDb = "ezxlocal/download/appwrite/am/InstalledDB";
        const QStringList games{"Game"};
        auto with = [](const char* from, const char* to) { return QByteArray(game).replace(from, to); };
        QTest::newRow("neither database") << "txt" << "" << QByteArray() << QStringList() << 1
                                          << "Cannot start [/usr/SYSqtapp/mediaplayer/mediaplayer]";
        QTest::newRow("picker cancelled") << "txt" << cardDb << game << games << -2 << "";
        QTest::newRow("card record") << "txt" << cardDb << game << games << 4 << "started";
        QTest::newRow("phone record, CRLF, UTF-8 name")
            << "txt" << phoneDb << with("\n", "\r\n").replace("Game", "\xe6\xb8\xb8\xe6\x88\x8f")
            << QStringList{"\u6e38\u620f"} << 4 << "started";
        QTest::newRow("16-character directory")
            << "txt" << cardDb << with("app 1", "0123456789abcdef") << QStringList() << -1 << "";
        QTest::newRow("directory on the card")
            << "txt" << cardDb << with("app 1", "/mmc/mmca1/x") << games << 4 << "not used, JAVA is run";
        QTest::newRow("no Name, then no Exec: each keeps its own")
            << "txt" << cardDb
            << with("Name = Game\n", "") + with("app 1", "app2").replace("Game", "Two").replace("Exec = run\n", "")
            << QStringList{"Two"} << 4 << "[Two] has no program to start";
        QTest::newRow("no uid: the phone's folder")
            << "txt" << cardDb << with("uid = 7\n", "") << games << 4
            << "Cannot start [@/download/.system/QTDownLoad/app 1/run]";
        // The desktop's, the default of "mimeapps.list" first, NoDisplay ones left out; started without a shell.
        QTest::newRow("desktop application")
            << "q9z" << "" << QByteArray() << QStringList{"Viewer", "Another"} << 4 << "started";
    }

    // A phone program gets "-d" and the file's path as two arguments; only a program that started is
    // recorded in "setup.txt", and the file's type then starts it the same way.
    void openIn()
    {
        QFETCH(QString, ending);
        QFETCH(QString, database);
        QFETCH(QByteArray, records);
        QFETCH(QStringList, names);
        QFETCH(int, row);
        QFETCH(QString, outcome);
        WorkFolder work;
        const QString name = hostile + "." + ending;
        const QString path = phoneFolders().card + "/" + name;
        const QString program = work.recorder("mmc/mmca1/.system/QTDownLoad/app 1/run");
        work.write("mmc/mmca1/" + name, ending == "q9z" ? "\x89PNG\r\n\x1a\n" : "text");
        work.write(database.isEmpty() ? "unused" : database, records);
        const QByteArray entry = "[Desktop Entry]\nType=Application\nMimeType=image/x-other;image/png;\nExec=\""
                                 + program.toUtf8() + "\" \"a \\\\\"q\\\\\" \\\\$x\" %i --f=%f %%\n";
        work.write("xdg/data/applications/z/viewer.desktop", entry + "Name=Viewer\n");
        work.write("xdg/data/applications/unseen.desktop", entry + "Name=Unseen\nNoDisplay=true\n");
        work.write("xdg/dirs/applications/other.desktop", entry + "Name=Another\n");
        work.write("xdg/dirs/applications/mimeapps.list", "[Default Applications]\nimage/png=z-viewer.desktop\n");
        work.write("setup.txt", "jpg::b\r\n");
        work.writeSettings({"File::" + phoneFolders().card});
        My_Widget main;
        selectRow(main, name);
        if (records.contains("/mmc/mmca1/"))
            handsetFolders().card = "/mmc/mmca1";  // where the phone has it
        QStringList shown;
        DialogAnswerer answers;
        answers.then([&](QWidget* dialog) {
            auto* list = dialog->findChild<Sotr_ListBox*>();
            shown = list->names();
            list->setCurrentItem(row);
            DialogAnswerer::pressButton(dialog, row == -2 ? "Cancel" : "Ok");
        });
        const bool started = outcome == "started";
        if (!started && !outcome.isEmpty())
            answers.press("Ok");

        main.menuSelect(main.ids().openIn);
        expectAllAnswered(answers);
        QCOMPARE(shown, QStringList({"Notepad   ", "RealPlayer", "MediaViwer", "Browser   "}) + names);
        QCOMPARE(answers.texts().mid(1).join(""), started ? "" : outcome.replace("@", phoneFolders().systemDir));
        const QString arguments = ending == "q9z" ? "a \"q\" $x|--f=" + path + "|%|\n" : "-d|" + path + "|\n";
        QTRY_COMPARE(work.read("log"), started ? arguments.toUtf8() : QByteArray());
        QVERIFY(work.read("setup.txt").startsWith("jpg::b\r\n"));
        QCOMPARE(work.read("setup.txt") == "jpg::b\r\n", !started);
        if (started)
            main.shell(path);
        QCOMPARE(work.read("log"), started ? (arguments + arguments).toUtf8() : QByteArray());
        QCOMPARE(injectedFiles(work.path()), QStringList());
    }
};

QTEST_MAIN(InfoTest)
#include "tst_info.moc"
