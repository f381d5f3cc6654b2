#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "commands/job.h"
#include "commands/runner.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// unzip and unrar live in the program's working folder; the test's one gets the repository's.
void installHelpers(const WorkFolder& work)
{
    for (const char* program : {"unzip", "unrar"})
        QVERIFY(QFile::link(KESTREL_SOURCE_DIR "/scripts/helpers/" + QString(program), work.file(program)));
}

// What the card holds, in one line: every entry below it, "/" after a folder, "=" and the
// bytes after a file of a dozen bytes at most, "!" after an entry with setuid, setgid or another owner.
QString cardState()
{
    const QString card = phoneFolders().card;
    QStringList entries;
    QDirIterator it(card, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info;
        lstat(QFile::encodeName(path).constData(), &info);
        QFile file(path);
        const bool small = S_ISREG(info.st_mode) && info.st_size <= 12 && file.open(QIODevice::ReadOnly);
        const bool marked = (info.st_mode & (S_ISUID | S_ISGID)) || info.st_uid != geteuid() || info.st_gid != getegid();
        entries << path.mid(card.size() + 1) + (S_ISDIR(info.st_mode) ? "/" : "") +
                       (small ? "=" + QString::fromUtf8(file.readAll()) : "") + (marked ? "!" : "");
    }
    entries.sort();
    return entries.join(' ');
}

// A card prepared by shell commands run in its folder ($1 is tests/data); the action on it:
// "extract", "pack", "packTo" (the folders picked) or "open", and the rows it acts on in turn; the
// bytes a file may grow to, 0 for no limit; the answers, buttons or "pick:" and a folder below the
// card; parts of the texts shown, %1 the card; what the card holds afterwards; and when Escape
// stops the job: "before" the first entry, "inside" a file, "between" entries, or at "appear"
// an archive appears at the target instead.
struct Case
{
    QString setup, action;
    int limit;
    QStringList answers, shown;
    QString after, stop = {};
};

}  // namespace

Q_DECLARE_METATYPE(Case)

class ExtractionTest : public QObject
{
    Q_OBJECT
private slots:
    // The user reads German: the programs' words that Kestrel reads stay the same.
    void initTestCase() { qputenv("LANGUAGE", "de"); }
    void hostileCards_data();
    void hostileCards();
    void unpacksWhatWasPacked_data();
    void unpacksWhatWasPacked();
};

void ExtractionTest::hostileCards_data()
{
    QTest::addColumn<Case>("c");
    const QString inTheWay = "mkdir -p s/report && printf a > s/report/a && printf packed > s/inside.txt && "
                             "printf new > s/new.txt && printf file > s/docs && "
                             "tar -cf x.tar -C s report inside.txt new.txt docs && rm -r s && "
                             "printf mine > report && printf edited > inside.txt && mkdir docs && printf kept > docs/keep";
    const QString question = "[inside.txt] already in [%1]. Replace?";
    const QString leftOut = "[x.tar] failed!\nnot extracted, an entry of another kind is in the way: docs, report";
    QTest::newRow("replace asked for once; a folder or file of another kind stays")
        << Case{inTheWay, "extract x.tar", 0, {"Ok", "Replace+mmc/mmca1/new.txt", "Ok"},
                {question, leftOut, "not extracted: new.txt"},
                "docs/ docs/keep=kept inside.txt=packed new.txt=meanwhile report=mine x.tar"};
    QTest::newRow("skip keeps what is there") << Case{inTheWay, "extract x.tar", 0, {"Ok", "Skip", "Ok"}, {question, leftOut},
                                                      "docs/ docs/keep=kept inside.txt=edited new.txt=new report=mine x.tar"};
    QTest::newRow("cancel extracts nothing") << Case{inTheWay, "extract x.tar", 0, {"Ok", "Cancel"}, {question},
                                                     "docs/ docs/keep=kept inside.txt=edited report=mine x.tar"};

    const QString big = "mkdir s && printf a > s/a && printf x > s/x && head -c 300000 /dev/urandom > s/big && printf mine > big && ";
    QTest::newRow("cut archive") << Case{big + "tar -czf cut.tgz -C s a big && truncate -s 150000 cut.tgz && rm -r s",
                                         "extract cut.tgz", 0, {"Ok", "Ok"},
                                         {"[cut.tgz] failed!\n", "Unexpected EOF", "nothing was extracted"}, "big=mine cut.tgz"};
    QTest::newRow("zip on a full card")
        << Case{big + "cd s && zip -q ../full.zip a big && cd .. && rm -r s", "extract full.zip", 100000, {"Ok", "Ok"},
                {"big: Write failed: File too large", "nothing was extracted"}, "big=mine full.zip"};
    QTest::newRow("zip with a refused member: the rest is extracted, nothing replaced")
        << Case{big + "cd s && zip -q ../refused.zip a big && mkdir -p in/deeper && cd in/deeper && "
                      "zip -q ../../../refused.zip ../../x && cd ../../.. && rm -r s",
                "extract refused.zip", 0, {"Ok", "Ok"},
                {"[refused.zip] failed!\n../../x: Path contains '..'",
                 "\nnot extracted, already there: big\nthe other entries were extracted"},
                "a=a big=mine refused.zip"};

    for (const QString archive : {"special.tar", "special.rar"})
        QTest::newRow(qPrintable("no device, FIFO, setuid, setgid or owner from " + archive))
            << Case{"mkdir -p s/setgid && printf f > s/setgid/f && printf s > s/setuid && printf o > s/owned && "
                    "mknod s/device c 1 3 && mkfifo s/fifo && chmod 4755 s/setuid && chmod 2755 s/setgid && "
                    "chown 1234:5678 s/owned && tar -cf " + archive + " -C s device fifo setuid setgid owned && rm -r s",
                    "extract " + archive, 0, {"Ok", "Ok"},
                    {"[" + archive + "] failed!\nleft out, device nodes, FIFOs and sockets: device, fifo"},
                    "owned=o setgid/ setgid/f=f setuid=s " + archive};

    // The tool leaves a FIFO in a folder that nothing can change, as root's tools may.
    QTest::newRow("a FIFO that cannot be removed: nothing is placed")
        << Case{"rm ../../unzip && printf '#!/bin/sh\nmkdir -p \"$5/top/d\" && mkfifo \"$5/top/d/fifo\" && "
                "printf k > \"$5/top/keep\" && chattr +i \"$5/top/d\"\n' > ../../unzip && chmod +x ../../unzip && printf z > x.zip",
                "extract x.zip", 0, {"Ok", "Ok"},
                {"[x.zip] failed!\nleft out, device nodes, FIFOs and sockets: top/d/fifo\nnothing was extracted"},
                ".kestrel-extract/ .kestrel-extract/top/ .kestrel-extract/top/d/ .kestrel-extract/top/d/fifo x.zip=z"};

    const QString pics = "mkdir pics elsewhere && head -c 3000000 /dev/urandom > pics/big && printf 'old archive' > pics.mtf";
    const QString packed = "elsewhere/ pics.mtf=old archive pics/ pics/big";
    for (const QString stop : {"before", "inside"})
        QTest::newRow(qPrintable("pack stopped " + stop)) << Case{pics, "pack pics", 0, {"Ok", "Ok", "Ok"},
                                                                 {"[pics] stopped\nnothing was packed"}, packed, stop};
    QTest::newRow("pack onto an old archive, agreed")
        << Case{pics, "pack pics", 0, {"Ok", "Ok", "Ok"}, {"MTF creat success"}, "elsewhere/ pics.mtf pics/ pics/big"};
    QTest::newRow("pack whose archive appears meanwhile")
        << Case{pics + " && rm pics.mtf", "pack pics", 0, {"Ok", "Ok"},
                {"[pics] failed!\n[pics.mtf] appeared meanwhile and was kept"}, "elsewhere/ pics.mtf=meanwhile pics/ pics/big",
                "appear"};
    const QString three = "mkdir s && printf a > s/a && printf x > s/x && head -c 3000000 /dev/urandom > s/big && "
                          "tar -cf x.tar -C s a big x && rm -r s";
    for (const QString stop : {"before", "inside"})
        QTest::newRow(qPrintable("extract stopped " + stop)) << Case{three, "extract x.tar", 0, {"Ok", "Ok"},
                                                                    {"[x.tar] stopped\nnothing was extracted"}, "x.tar", stop};
    QTest::newRow("extract stopped between entries") << Case{three, "extract x.tar", 0, {"Ok", "Ok"},
                                                             {"[x.tar] stopped\n1 of 3 extracted, not done: big, x"},
                                                             "a=a x.tar", "between"};
    QTest::newRow("failed pack of a row keeps the old archive")
        << Case{pics, "pack pics", 100000, {"Ok", "Ok", "Ok"}, {"[pics] failed!\n"}, packed};
    QTest::newRow("failed pack into another folder leaves nothing")
        << Case{pics, "packTo pics", 100000, {"pick:/pics", "Folder", "pick:/elsewhere", "Ok"}, {"[pics] failed!\n"}, packed};

    QTest::newRow("FIFO named as an archive")
        << Case{"mkfifo fifo.zip", "open fifo.zip", 0, {"Ok"}, {"[fifo.zip] is not a regular file"}, "fifo.zip"};
    QTest::newRow("link to a FIFO with an association")
        << Case{"printf 'mp3::/bin/true\\r\\n' > ../../setup.txt && mkfifo fifo && ln -s fifo song.mp3", "open song.mp3", 0,
                {"Ok"}, {"[song.mp3] is not a regular file"}, "fifo song.mp3"};
    QTest::newRow("link to a regular archive") << Case{"printf x > real.tgz && ln -s real.tgz fine.tgz", "open fine.tgz", 0,
                                                       {"Cancel"}, {"Extract files%1/fine.tgz to this dir"}, "fine.tgz real.tgz=x"};

    // Archives made by tests/data/make-archives.py: whatever they hold, nothing is written outside
    // the folder, and anything left out or failing is reported, never "Extracted".
    const auto unpack = [](const QString& row, const QStringList& archives, bool failed, const QStringList& found,
                           const QString& before = "") {
        QStringList after = archives + found;
        after.sort();
        const QString setup = before + "cp \"$1\"/" + archives.join(" \"$1\"/") + " .";
        const QString shown = failed ? "[" + archives.last() + "] failed!\n" : "Extracted";
        QTest::newRow(qPrintable(row)) << Case{setup, "extract " + archives.join(' '), 0,
                                               QStringList(archives.size() * 2, "Ok"), {shown}, after.join(' ')};
    };
    QStringList shots{"shots/", "shots/deep/", "shots/deep/er/", "shots/deep/er/file"};
    for (const QString& name : hostileNames())
        if (!name.contains('\\'))  // RAR keeps "\" as its folder separator
            shots << "shots/" + name + (name.toUtf8().size() < 12 ? "=" + name + "\n" : "");
    unpack("stored RAR, in capitals", {"Photos.RAR"}, false, shots);
    unpack("unrar missing", {"Photos.RAR"}, true, {}, "rm ../../unrar && ");
    for (const QString type : {"tgz", "zip"}) {
        unpack(type + ", ../", {"dotdot." + type}, true, {"ok=x"});
        unpack(type + ", absolute", {"abs." + type}, type == "zip",
               {"tmp/", "tmp/kestrel-outside/", "tmp/kestrel-outside/abs=x"});
        unpack(type + ", a link, then a file through it", {"link." + type}, true, {});
        unpack(type + ", a link left by an earlier archive", {"first." + type, "second." + type}, false,
               {"l/", "l/x=x"});
    }
    unpack("zip, damaged", {"broken.zip"}, true, {});
    unpack("zip, links with ..", {"up.zip"}, true, {});
    unpack("zip, names in code page 437 and in UTF-8", {"names.zip"}, false,
           {"filename_with_\u00e6o\u00e5.txt=x", "flagged_\u00e6o\u00e5_\u65e5\u672c.txt=x"});
    unpack("damaged rar", {"broken.rar"}, true, {});
    unpack("not an archive", {"data.bin"}, true, {});
}

void ExtractionTest::hostileCards()
{
    QFETCH(Case, c);
    if ((c.setup.contains("mknod") || c.setup.contains("chattr")) && geteuid() != 0)
        QSKIP("only root's extraction can make device nodes and keep owners");
    WorkFolder work;
    const QString card = phoneFolders().card;
    installHelpers(work);
    // Where the archives' links and absolute paths lead; other runs may use it at the same time.
    const QStringList outside{"/tmp/kestrel-outside/abs", "/tmp/kestrel-outside/x", work.file("x"), work.file("mmc/x")};
    QVERIFY(QDir().mkpath("/tmp/kestrel-outside"));
    for (const QString& path : outside)
        QFile::remove(path);
    const QStringList setup{"-c", "cd \"$0\" && " + c.setup, card, KESTREL_SOURCE_DIR "/tests/data"};
    QCOMPARE(QProcess::execute("/bin/sh", setup), 0);

    My_Widget window;
    const QString verb = c.action.section(' ', 0, 0);
    DialogAnswerer answers;
    for (const QString& answer : c.answers)
        answers.follow({answer.startsWith("pick:") ? "pick:" + card + answer.mid(5) : answer});
    Job::setObserverForTests([&](Job& job) {
        if (c.stop == "appear" && !QFile::exists(card + "/pics.mtf"))
            writeFile(card + "/pics.mtf", "meanwhile");
        else if (c.stop == "before"    ? job.entriesDone() == 0
                 : c.stop == "inside"  ? job.bytesDone() > 0
                 : c.stop == "between" ? job.entriesDone() >= 1 : false)
            QTest::keyClick(&window, Qt::Key_Escape);
    });
    const auto noObserver = qScopeGuard([] { Job::setObserverForTests({}); });
    // As on a full card, no file written meanwhile grows beyond the limit.
    const My_Widget::MenuIds& ids = window.ids();
    withFileSizeLimit(c.limit, [&] {
        for (const QString& row : c.action.split(' ').mid(1)) {
            if (verb == "open") {
                window.shell(card + "/" + row);
            } else {
                selectRow(window, row);
                window.menuSelect(verb == "extract" ? ids.extract : verb == "pack" ? ids.newMtf : ids.packMtf);
            }
        }
        return true;
    });
    if (c.setup.contains("chattr"))
        QCOMPARE(QProcess::execute("/bin/sh", {"-c", "find \"$0\" -type d -exec chattr -i {} +", card}), 0);
    QCOMPARE(cardState().replace(QRegularExpression("kestrel-extract-\\w+"), "kestrel-extract"), c.after);
    expectAllAnswered(answers);
    const QString texts = answers.texts().join("\n");
    QVERIFY2(!texts.contains(".kestrel"), qPrintable(texts));
    for (const QString& part : c.shown)
        QVERIFY2(texts.contains(QString(part).replace("%1", card)), qPrintable(texts));
    for (const QString& path : outside)
        QVERIFY2(!QFile::exists(path), qPrintable(path + " was written"));
}

// A folder of hostile names, a folder, an empty folder and a link goes into an archive and
// comes out the same. Its own name would be read as options, and breaks careless quoting.
void ExtractionTest::unpacksWhatWasPacked_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("opened");  // from the list, else by Extract
    QTest::newRow("TAR of the row") << "row" << ".tar.gz" << false;
    QTest::newRow("MPKG of a chosen folder") << "folder" << ".mpkg" << true;
    QTest::newRow("zip") << "zip" << ".zip" << false;
    QTest::newRow("tar with bzip2") << "tar" << ".tar.bz2" << true;
}

void ExtractionTest::unpacksWhatWasPacked()
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

QTEST_MAIN(ExtractionTest)
#include "tst_extraction.moc"
