#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "commands/runner.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

namespace {

// Appends its arguments to "log" in the working folder, each followed by "|", one run a line.
const QByteArray recorder =
    "#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done >> \"$(dirname \"$0\")/../log\"\n"
    "echo >> \"$(dirname \"$0\")/../log\"\n";

QString installRecorder(const WorkFolder& work, const QString& relative)
{
    work.write(relative, recorder);
    QFile::setPermissions(work.file(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return work.file(relative);
}

}  // namespace

class OpeningTest : public QObject
{
    Q_OBJECT
private slots:
    void everyMatchingAssociationRunsInFileOrder_data();
    void everyMatchingAssociationRunsInFileOrder();
    void failedAssociationIsReported();
    void associationComesBeforeTheBuiltInRules();
    void builtInRulesWithoutSetupFile_data();
    void builtInRulesWithoutSetupFile();
    void imageStartsTheViewerInTheBackground();
    void javaArchivesAndLinProgramsRun_data();
    void javaArchivesAndLinProgramsRun();
    void recordingAnAssociation_data();
    void recordingAnAssociation();
    void recordedAssociationIsUsedWhenOpening();
    void recordingNeedsASetupFile();
};

void OpeningTest::everyMatchingAssociationRunsInFileOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("upper-case extension") << "Song.MP3";
    for (const QString& name : hostileNames().mid(0, 9))
        QTest::newRow(hostileRowName(name).constData()) << name + ".Mp3";
}

void OpeningTest::everyMatchingAssociationRunsInFileOrder()
{
    QFETCH(QString, name);
    WorkFolder work;
    const QByteArray rec = installRecorder(work, "bin/rec").toUtf8();
    work.write("setup.txt", "mp3$ogg::" + rec + " first\r\n"
                            "MP3::" + rec + " upper\r\n"
                            "mp3\r\n"
                            "mp3::\r\n"
                            "wav::" + rec + " other\n"
                            "ogg$mp3::" + rec + " second\n");
    const QString path = phoneFolders().card + "/" + name;
    work.write("mmc/mmca1/" + name.toUtf8(), "music");
    My_Widget window;
    DialogAnswerer answers;
    window.shell(path);
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(work.read("log"), "first|-d|" + path.toUtf8() + "|\nsecond|-d|" + path.toUtf8() + "|\n");
    QVERIFY(injectedFiles(work.path()).isEmpty());
}

void OpeningTest::failedAssociationIsReported()
{
    WorkFolder work;
    const QByteArray rec = installRecorder(work, "bin/rec").toUtf8();
    work.write("setup.txt", "mp3::/bin/false\r\nmp3::" + rec + "\r\n");
    work.write("mmc/mmca1/Song.mp3", "music");
    My_Widget window;
    DialogAnswerer answers;
    answers.press("Ok");
    window.shell(phoneFolders().card + "/Song.mp3");
    QCOMPARE(answers.texts(), QStringList{"[Song.mp3] failed!\nexit status 1"});
    QVERIFY(work.read("log").startsWith("-d|"));
}

void OpeningTest::associationComesBeforeTheBuiltInRules()
{
    WorkFolder work;
    const QByteArray rec = installRecorder(work, "bin/rec").toUtf8();
    installRecorder(work, "Img");
    work.write("setup.txt", "gz::" + rec + "\r\n");
    work.write("mmc/mmca1/x.tar.gz", "not unpacked");
    My_Widget window;
    DialogAnswerer answers;
    window.shell(phoneFolders().card + "/x.tar.gz");
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(work.read("log"), "-d|" + (phoneFolders().card + "/x.tar.gz").toUtf8() + "|\n");
}

void OpeningTest::builtInRulesWithoutSetupFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("firstText");  // what the first box says, with %1 for the path
    QTest::newRow("text file") << "a.txt" << "No associate programm";
    QTest::newRow("no dot") << "README" << "No associate programm";
    QTest::newRow("only dots") << "..." << "No associate programm";
    QTest::newRow("ends in a dot") << "x." << "No associate programm";
    QTest::newRow("tar.gz is gz") << "archive.tar.gz" << "Extract files%1 to this dir";
    QTest::newRow("tgz") << "x.TGZ" << "Extract files%1 to this dir";
    QTest::newRow("mtf") << "x.mtf" << "Extract files%1 to this dir";
    QTest::newRow("rar, any case") << "Photos.RAR" << "Extract RAR archive   [Photos.RAR] to this dir";
    QTest::newRow("zip") << "x.zip" << "Extract ZIP archive   [x.zip] to this dir";
    QTest::newRow("image viewer missing") << "x.png" << "Cannot start [@/Img]";
}

void OpeningTest::builtInRulesWithoutSetupFile()
{
    QFETCH(QString, name);
    QFETCH(QString, firstText);
    WorkFolder work;
    work.write("mmc/mmca1/" + name.toUtf8(), "data");
    const QString path = phoneFolders().card + "/" + name;
    My_Widget window;
    DialogAnswerer answers;  // with no step left, a box is closed unanswered
    window.shell(path);
    QCOMPARE(answers.texts(), QStringList{QString(firstText).replace("%1", path).replace("@", work.path())});
    QCOMPARE(QFile(path).size(), qint64(4));
}

void OpeningTest::imageStartsTheViewerInTheBackground()
{
    WorkFolder work;
    work.writeSettings({"File::" + phoneFolders().card, "ImgFile::"});
    work.write("Img", "#!/bin/sh\necho started > \"$(dirname \"$0\")/shown\"\n");
    QFile::setPermissions(work.file("Img"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString name = "caf\u00e9 it's.JPEG";
    work.write("mmc/mmca1/" + name.toUtf8(), "jpeg");
    My_Widget window;
    DialogAnswerer answers;
    window.shell(phoneFolders().card + "/" + name);
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(window.iniRead("ImgFile"), QString::fromLatin1((phoneFolders().card + "/" + name).toUtf8()));
    QTRY_COMPARE(work.read("shown"), QByteArray("started\n"));
}

void OpeningTest::javaArchivesAndLinProgramsRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("installed");  // the runtime, or the program's execute permission
    QTest::addColumn<QString>("log");     // %1 is the path
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("jar") << "Game it's.JAR" << true << "-classpath|%1|\n" << QStringList();
    QTest::newRow("jar, no Java runtime") << "Game.jar" << false << ""
                                          << QStringList{"[Game.jar] failed!\n"};
    QTest::newRow("lin") << "$(touch INJECTED).lin" << true << "|\n" << QStringList();
    QTest::newRow("lin, not executable") << "tool.lin" << false << "" << QStringList{"[tool.lin] failed!"};
}

void OpeningTest::javaArchivesAndLinProgramsRun()
{
    QFETCH(QString, name);
    QFETCH(bool, installed);
    QFETCH(QString, log);
    QFETCH(QStringList, texts);
    WorkFolder work;
    const QString path = phoneFolders().card + "/" + name;
    if (name.endsWith(".lin")) {
        work.write("mmc/mmca1/" + name.toUtf8(), "#!/bin/sh\necho '|' >> \"$(dirname \"$0\")/../../log\"\n");
        if (installed)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        work.write("mmc/mmca1/" + name.toUtf8(), "PK");
        if (installed)
            QCOMPARE(installRecorder(work, "usr/SYSjava/kvm"), phoneFolders().javaRuntime);
    }
    My_Widget window;
    DialogAnswerer answers;
    window.shell(path);
    QCOMPARE(answers.texts().size(), texts.size());
    for (int i = 0; i < texts.size(); ++i)
        QVERIFY2(answers.texts().at(i).startsWith(texts.at(i)), qPrintable(answers.texts().at(i)));
    // Each recorder logs into the folder above its own.
    QCOMPARE(QString::fromUtf8(work.read(name.endsWith(".lin") ? "log" : "usr/log")), QString(log).replace("%1", path));
    QVERIFY(injectedFiles(work.path()).isEmpty());
}

void OpeningTest::recordingAnAssociation_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaces its extension, drops empty lines")
        << QByteArray("mp3::a\r\n\r\njpg::b\r\n") << "/mmc/mmca1/Song.MP3"
        << QByteArray("jpg::b\r\nmp3::/usr/bin/player\r\n");
    QTest::newRow("keeps lists and longer extensions")
        << QByteArray("jpg$mp3::x\nmp3x::y\nmp3::old\n") << "/a/b.mp3"
        << QByteArray("jpg$mp3::x\r\nmp3x::y\r\nmp3::/usr/bin/player\r\n");
    QTest::newRow("no dot") << QByteArray("") << "/a/README" << QByteArray("readme::/usr/bin/player\r\n");
    QTest::newRow("only dots") << QByteArray("mp3::a\n") << "/a/..." << QByteArray("mp3::a\n");
}

void OpeningTest::recordingAnAssociation()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, file);
    QFETCH(QByteArray, after);
    WorkFolder work;
    work.write("setup.txt", before);
    // A second name of the old file: a rewrite in place would change it too.
    QCOMPARE(::link(QFile::encodeName(work.file("setup.txt")).constData(),
                    QFile::encodeName(work.file("old-setup.txt")).constData()), 0);
    My_Widget window;
    window.Wr("/usr/bin/player", file);
    QCOMPARE(work.read("setup.txt"), after);
    QCOMPARE(work.read("old-setup.txt"), before);
}

void OpeningTest::recordedAssociationIsUsedWhenOpening()
{
    WorkFolder work;
    const QString rec = installRecorder(work, "bin/caf\u00e9 rec");
    work.write("setup.txt", "");
    const QString path = phoneFolders().card + "/Clip.OGG";
    work.write("mmc/mmca1/Clip.OGG", "ogg");
    My_Widget window;
    window.Wr(quoted(rec), path);
    DialogAnswerer answers;
    window.shell(path);
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(work.read("log"), "-d|" + path.toUtf8() + "|\n");
}

void OpeningTest::recordingNeedsASetupFile()
{
    WorkFolder work;
    My_Widget window;
    window.Wr("/usr/bin/player", "/a/b.mp3");
    QVERIFY(!QFile::exists(work.file("setup.txt")));
}

QTEST_MAIN(OpeningTest)
#include "tst_opening.moc"
