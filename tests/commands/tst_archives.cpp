#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "commands/runner.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QFileInfo>
#include <QTest>

namespace {

// unzip and unrar live in the program's working folder; the test's one gets the repository's.
void installHelpers(const WorkFolder& work)
{
    for (const char* program : {"unzip", "unrar"})
        QVERIFY(QFile::link(KESTREL_SOURCE_DIR "/scripts/helpers/" + QString(program), work.file(program)));
}

}  // namespace

class ArchivesTest : public QObject
{
    Q_OBJECT
private slots:
    // The user reads German: the programs' words that Kestrel reads stay the same.
    void initTestCase() { qputenv("LANGUAGE", "de"); }

    // A folder of hostile names, a folder, an empty folder and a link goes into an archive and
    // comes out the same. Its own name would be read as options, and breaks careless quoting.
    void unpacksWhatWasPacked_data()
    {
        QTest::addColumn<QString>("maker");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("opened");  // from the list, else by Extract
        QTest::newRow("TAR of the row") << "row" << ".tar.gz" << false;
        QTest::newRow("MPKG of a chosen folder") << "folder" << ".mpkg" << true;
        QTest::newRow("zip") << "zip" << ".zip" << false;
        QTest::newRow("tar with bzip2") << "tar" << ".tar.bz2" << true;
    }
    void unpacksWhatWasPacked()
    {
        QFETCH(QString, maker);
        QFETCH(QString, extension);
        QFETCH(bool, opened);
        WorkFolder work;
        installHelpers(work);
        const QString card = phoneFolders().card, out = work.makeFolder("out");
        const QString tree = "--checkpoint=1 it's $(touch INJECTED)", archive = tree + extension;
        int n = 0;
        for (const QString& name : hostileNames() + QStringList("--checkpoint-action=exec=touch X")) {
            writeFile(card + "/" + tree + "/" + name, name.toUtf8() + QByteArray(n * 37, char(n)));
            writeFile(card + "/" + tree + "/inner/" + name, QByteArray::number(++n));
        }
        QDir().mkpath(card + "/" + tree + "/inner/empty");
        QVERIFY(QFile::link("inner/two words", card + "/" + tree + "/link"));
        My_Widget window;
        DialogAnswerer answers;
        if (maker == "row") {
            selectRow(window, tree);
            answers.follow({"Ok", "Ok"});
            window.menuSelect(window.ids().newTar);
        } else if (maker == "folder") {
            answers.follow({"pick:" + card + "/" + tree, "Ok", "Ok"});
            window.menuSelect(window.ids().packMpkg);
        } else {
            const QString make = maker == "zip" ? "zip -q -r -y ./" : "tar -cjf ./";
            QVERIFY(runCommand("cd " + quoted(card) + " && " + make + quoted(archive) + " ./" + quoted(tree)).succeeded());
        }
        QVERIFY(QFile::rename(card + "/" + archive, out + "/" + archive));
        window.qListBox(out);
        answers.follow({"Ok", "Ok"});
        if (opened) {
            window.qListBox(archive);
        } else {
            selectRow(window, archive);
            window.menuSelect(window.ids().extract);
        }
        expectAllAnswered(answers);
        QVERIFY2(answers.texts().last().endsWith("Extracted"), qPrintable(answers.texts().last()));
        QCOMPARE(treeListing(out + "/" + tree), treeListing(card + "/" + tree));
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList({tree, archive}));
        QVERIFY(!QFile::exists("INJECTED"));
        QVERIFY(!QFile::exists(work.file("X")) && !QFile::exists(card + "/X") && !QFile::exists(out + "/X"));
    }

    // Archives made by tests/data/make-archives.py. Whatever they hold, nothing is written
    // outside the folder, and anything left out or failing is reported, never "Extracted".
    void extractionStaysInTheFolder_data()
    {
        QTest::addColumn<QStringList>("archives");  // extracted one after the other
        QTest::addColumn<bool>("helpers");           // unzip and unrar are in the working folder
        QTest::addColumn<QStringList>("found");      // what the folder holds afterwards
        QTest::addColumn<bool>("failed");            // the last box reports a failure
        const QStringList tmp{"tmp", "tmp/kestrel-outside", "tmp/kestrel-outside/abs"};
        QStringList shots{"shots", "shots/deep", "shots/deep/er", "shots/deep/er/file"};
        for (const QString& name : hostileNames())
            if (!name.contains('\\'))  // RAR keeps "\" as its folder separator
                shots << "shots/" + name;
        shots.sort();
        QTest::newRow("stored RAR, in capitals") << QStringList{"Photos.RAR"} << true << shots << false;
        QTest::newRow("unrar missing") << QStringList{"Photos.RAR"} << false << QStringList() << true;
        for (const QString type : {"tgz", "zip"}) {
            const bool zip = type == "zip";
            QTest::addRow("%s, ../", qPrintable(type)) << QStringList("dotdot." + type) << true << QStringList{"ok"} << true;
            QTest::addRow("%s, absolute", qPrintable(type)) << QStringList("abs." + type) << true << tmp << zip;
            QTest::addRow("%s, a link, then a file through it", qPrintable(type))
                << QStringList("link." + type) << true << QStringList() << true;
            QTest::addRow("%s, a link left by an earlier archive", qPrintable(type))
                << QStringList{"first." + type, "second." + type} << true << QStringList{"l", "l/x"} << false;
            QTest::addRow("%s, damaged", qPrintable(type)) << QStringList("broken." + type) << true << QStringList() << true;
        }
        QTest::newRow("zip, links with ..") << QStringList{"up.zip"} << true << QStringList{} << true;
        QTest::newRow("zip, names in code page 437 and in UTF-8")
            << QStringList{"names.zip"} << true << QStringList{"filename_with_æoå.txt", "flagged_æoå_日本.txt"} << false;
        QTest::newRow("damaged rar") << QStringList{"broken.rar"} << true << QStringList() << true;
        QTest::newRow("not an archive") << QStringList{"data.bin"} << true << QStringList() << true;
    }
    void extractionStaysInTheFolder()
    {
        QFETCH(QStringList, archives);
        QFETCH(bool, helpers);
        QFETCH(QStringList, found);
        QFETCH(bool, failed);
        WorkFolder work;
        if (helpers)
            installHelpers(work);
        // Where the archives' links and absolute paths lead; other runs may use it at the same time.
        const QString outside = "/tmp/kestrel-outside";
        QVERIFY(QDir().mkpath(outside));
        QFile::remove(outside + "/abs");
        QFile::remove(outside + "/x");
        const QString folder = phoneFolders().card;
        for (const QString& archive : archives)
            QVERIFY(QFile::copy(KESTREL_SOURCE_DIR "/tests/data/" + archive, folder + "/" + archive));
        My_Widget window;
        DialogAnswerer answers;
        for (const QString& archive : archives) {
            selectRow(window, archive);
            answers.follow({"Ok", "Ok"});
            window.menuSelect(window.ids().extract);
        }
        expectAllAnswered(answers);
        QVERIFY2(answers.texts().last().startsWith("[" + archives.last() + "] failed!\n") == failed,
                 qPrintable(answers.texts().last()));
        for (const QString& path : {outside + "/abs", outside + "/x", work.file("x"), work.file("mmc/x")})
            QVERIFY2(!QFile::exists(path), qPrintable(path + " was written"));
        QStringList extracted = treeListing(folder).keys();
        for (const QString& archive : archives)
            extracted.removeAll(archive);
        QCOMPARE(extracted, found);
    }
};

QTEST_MAIN(ArchivesTest)
#include "tst_archives.moc"
