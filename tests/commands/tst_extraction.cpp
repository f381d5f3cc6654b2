#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QDirIterator>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the card holds, in one line: every entry below it, "/" after a folder, "=" and the
// bytes after a small file, "!" after an entry with setuid, setgid or another owner.
QString cardState()
{
    const QString card = phoneFolders().card;
    QStringList entries;
    QDirIterator it(card, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString entry = path.mid(card.size() + 1);
        struct stat info;
        lstat(QFile::encodeName(path).constData(), &info);
        if (S_ISDIR(info.st_mode))
            entry += "/";
        QFile file(path);
        if (S_ISREG(info.st_mode) && info.st_size <= 20 && file.open(QIODevice::ReadOnly))
            entry += "=" + QString::fromUtf8(file.readAll());
        if ((info.st_mode & (S_ISUID | S_ISGID)) || info.st_uid != geteuid() || info.st_gid != getegid())
            entry += "!";
        entries << entry;
    }
    entries.sort();
    return entries.join(' ');
}

}  // namespace

class ExtractionTest : public QObject
{
    Q_OBJECT
private slots:
    void hostileCards_data();
    void hostileCards();
};

void ExtractionTest::hostileCards_data()
{
    QTest::addColumn<QString>("setup");  // shell commands run in the card folder
    QTest::addColumn<QString>("command");  // "extract", "pack" or "open" the row, or "pack chosen"
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("limit");  // bytes a file may grow to, 0 for no limit
    QTest::addColumn<QStringList>("answers");  // buttons, or "pick:" and a folder below the card
    QTest::addColumn<QStringList>("shown");  // parts of the texts shown; %1 is the card
    QTest::addColumn<QString>("after");  // the card's state afterwards

    const QString inTheWay = "mkdir -p s/report && printf a > s/report/a && printf packed > s/inside.txt && "
                             "printf new > s/new.txt && printf file > s/docs && "
                             "tar -cf x.tar -C s report inside.txt new.txt docs && rm -r s && "
                             "printf mine > report && printf edited > inside.txt && mkdir docs && printf kept > docs/keep";
    const QString question = "[inside.txt] already in [%1]. Replace?";
    const QString leftOut = "[x.tar] failed!\nnot extracted, an entry of another kind is in the way: docs, report";
    QTest::newRow("replace asked for once; a folder or file of another kind stays")
        << inTheWay << "extract" << "x.tar" << 0 << QStringList{"Ok", "Replace", "Ok"} << QStringList{question, leftOut}
        << "docs/ docs/keep=kept inside.txt=packed new.txt=new report=mine x.tar";
    QTest::newRow("skip keeps what is there") << inTheWay << "extract" << "x.tar" << 0 << QStringList{"Ok", "Skip", "Ok"}
                                              << QStringList{question, leftOut}
                                              << "docs/ docs/keep=kept inside.txt=edited new.txt=new report=mine x.tar";
    QTest::newRow("cancel extracts nothing") << inTheWay << "extract" << "x.tar" << 0 << QStringList{"Ok", "Cancel"}
                                             << QStringList{question}
                                             << "docs/ docs/keep=kept inside.txt=edited report=mine x.tar";

    const QString big = "mkdir s && printf a > s/a && printf x > s/x && head -c 300000 /dev/urandom > s/big && "
                        "printf mine > big && ";
    QTest::newRow("cut archive") << big + "tar -czf cut.tgz -C s a big && truncate -s 150000 cut.tgz && rm -r s"
                                 << "extract" << "cut.tgz" << 0 << QStringList{"Ok", "Ok"}
                                 << QStringList{"[cut.tgz] failed!\n", "Unexpected EOF", "nothing was extracted"}
                                 << "big=mine cut.tgz";
    QTest::newRow("zip on a full card, its warning named by the user's path")
        << big + "cd s && zip -q ../full.zip a big && cd .. && rm -r s" << "extract" << "full.zip" << 100000
        << QStringList{"Ok", "Ok"} << QStringList{"warning:  %1/big is probably truncated", "nothing was extracted"}
        << "big=mine full.zip";
    QTest::newRow("zip with a refused member: the rest is extracted, nothing replaced")
        << big + "cd s && zip -q ../refused.zip a big && mkdir -p in/deeper && cd in/deeper && "
                 "zip -q ../../../refused.zip ../../x && cd ../../.. && rm -r s"
        << "extract" << "refused.zip" << 0 << QStringList{"Ok", "Ok"}
        << QStringList{"[refused.zip] failed!\nwarning:  skipped \"../\" path component(s) in ../../x\n"
                       "not extracted, already there: big\nthe other entries were extracted"}
        << "a=a big=mine refused.zip x=x";

    for (const QString archive : {"special.tar", "special.rar"})
        QTest::newRow(qPrintable("no device, FIFO, setuid, setgid or owner from " + archive))
            << "mkdir -p s/setgid && printf f > s/setgid/f && printf s > s/setuid && printf o > s/owned && "
               "mknod s/device c 1 3 && mkfifo s/fifo && chmod 4755 s/setuid && chmod 2755 s/setgid && "
               "chown 1234:5678 s/owned && tar -cf " + archive + " -C s device fifo setuid setgid owned && rm -r s"
            << "extract" << archive << 0 << QStringList{"Ok", "Ok"}
            << QStringList{"[" + archive + "] failed!\nleft out, device nodes, FIFOs and sockets: device, fifo"}
            << "owned=o setgid/ setgid/f=f setuid=s " + archive;

    const QString pics = "mkdir pics elsewhere && head -c 300000 /dev/urandom > pics/big && printf 'old archive' > pics.mtf";
    const QString packed = "elsewhere/ pics.mtf=old archive pics/ pics/big";
    QTest::newRow("failed pack of a row keeps the old archive") << pics << "pack" << "pics" << 100000
                                                                << QStringList{"Ok", "Ok", "Ok"}
                                                                << QStringList{"[pics] failed!\n"} << packed;
    QTest::newRow("failed pack into another folder leaves nothing")
        << pics << "pack chosen" << "" << 100000 << QStringList{"pick:/pics", "Folder", "pick:/elsewhere", "Ok"}
        << QStringList{"[pics] failed!\n"} << packed;

    QTest::newRow("FIFO named as an archive") << "mkfifo fifo.zip" << "open" << "fifo.zip" << 0 << QStringList{"Ok"}
                                              << QStringList{"[fifo.zip] is not a regular file"} << "fifo.zip";
    QTest::newRow("link to a FIFO with an association")
        << "printf 'mp3::/bin/true\\r\\n' > ../../setup.txt && mkfifo fifo && ln -s fifo song.mp3" << "open"
        << "song.mp3" << 0 << QStringList{"Ok"} << QStringList{"[song.mp3] is not a regular file"} << "fifo song.mp3";
    QTest::newRow("link to a regular archive") << "printf x > real.tgz && ln -s real.tgz fine.tgz" << "open"
                                               << "fine.tgz" << 0 << QStringList{"Cancel"}
                                               << QStringList{"Extract files%1/fine.tgz to this dir"}
                                               << "fine.tgz real.tgz=x";
}

void ExtractionTest::hostileCards()
{
    QFETCH(QString, setup);
    QFETCH(QString, command);
    QFETCH(QString, row);
    QFETCH(int, limit);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, shown);
    QFETCH(QString, after);
    if (setup.contains("mknod") && geteuid() != 0)
        QSKIP("only root's extraction can make device nodes and keep owners");
    WorkFolder work;
    const QString card = phoneFolders().card;
    const QString helpers = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../../scripts/helpers/";
    for (const QString program : {"unzip", "unrar"})
        QVERIFY(QFile::link(QFileInfo(helpers + program).canonicalFilePath(), work.file(program)));
    QProcess shell;
    shell.setWorkingDirectory(card);
    shell.start("/bin/sh", {"-c", setup});
    QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);

    My_Widget window;
    window.qListBox(card);
    if (!row.isEmpty() && command != "open")
        selectRow(window, row);
    DialogAnswerer answerer;
    for (const QString& answer : answers)
        answer.startsWith("pick:") ? void(answerer.pick(card + answer.mid(5))) : void(answerer.press(answer));
    // As on a full card, no file written meanwhile grows beyond the limit.
    rlimit unlimited, limited;
    getrlimit(RLIMIT_FSIZE, &unlimited);
    limited = {limit > 0 ? rlim_t(limit) : unlimited.rlim_cur, unlimited.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    if (command == "open")
        window.shell(card + "/" + row);
    else
        window.menuSelect(command == "extract" ? window.ids().extract
                          : command == "pack"  ? window.ids().newMtf
                                               : window.ids().packMtf);
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QCOMPARE(cardState(), after);
    expectAllAnswered(answerer);
    const QString texts = answerer.texts().join("\n");
    QVERIFY2(!texts.contains(".kestrel"), qPrintable(texts));
    for (const QString& part : shown)
        QVERIFY2(texts.contains(QString(part).replace("%1", card)), qPrintable(texts));
}

QTEST_MAIN(ExtractionTest)
#include "tst_extraction.moc"
