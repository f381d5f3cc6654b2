#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "core/settings.h"
#include "core/text.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QTest>

#include <unistd.h>

class OpeningTest : public QObject
{
    Q_OBJECT
private slots:
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
        QTest::newRow("replaces its extension, drops empty lines")
            << QByteArray("mp3::a\r\n\r\njpg::b\r\n") << "/mmc/mmca1/Song.MP3"
            << QByteArray("jpg::b\r\nmp3::/usr/bin/player\r\n") << "";
        QTest::newRow("keeps lists and longer extensions")
            << QByteArray("jpg$mp3::x\nmp3x::y\nmp3::old\n") << "/a/b.mp3"
            << QByteArray("jpg$mp3::x\r\nmp3x::y\r\nmp3::/usr/bin/player\r\n") << "";
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

QTEST_MAIN(OpeningTest)
#include "tst_opening.moc"
