#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace {

// unzip and unrar live in the program's working folder; the test's one gets the repository's.
void installHelpers(const WorkFolder& work, const QStringList& programs = {"unzip", "unrar"})
{
    const QString helpers = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../../scripts/helpers/";
    for (const QString& program : programs)
        QVERIFY(QFile::link(QFileInfo(helpers + program).canonicalFilePath(), work.file(program)));
}

int runIn(const QString& folder, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A folder of hostile names: files, a folder inside, an empty folder and a link inside it.
void fillTree(const QString& root)
{
    QDir().mkpath(root + "/inner/empty");
    int n = 0;
    for (const QString& name : hostileNames()) {
        writeFile(root + "/" + name, name.toUtf8() + QByteArray(n * 37, char(n)));
        writeFile(root + "/inner/" + name, QByteArray::number(++n));
    }
    writeFile(root + "/--checkpoint-action=exec=touch X", "tar option");
    QVERIFY(QFile::link("inner/two words", root + "/link"));
}

// Two trees hold the same entries with the same bytes; the differences are named.
void compareListings(const TreeListing& got, const TreeListing& want)
{
    QStringList differences;
    for (auto it = want.cbegin(); it != want.cend(); ++it)
        if (got.value(it.key()) != it.value())
            differences << it.key() + ": " + got.value(it.key(), "missing") + " instead of " + it.value();
    for (auto it = got.cbegin(); it != got.cend(); ++it)
        if (!want.contains(it.key()))
            differences << it.key() + ": not expected";
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join("\n")));
    QVERIFY(!want.isEmpty());
}

// A tree's listing with links by the target they hold, not where that leads.
TreeListing listingOf(const QString& root)
{
    TreeListing tree = treeListing(root);
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        if (!it.value().startsWith("l:"))
            continue;
        char target[4096];
        const ssize_t size = readlink(QFile::encodeName(root + "/" + it.key()).constData(), target, sizeof target);
        it.value() = "l:" + QFile::decodeName(QByteArray(target, size < 0 ? 0 : int(size)));
    }
    return tree;
}

void compareTrees(const QString& actual, const QString& expected)
{
    compareListings(listingOf(actual), listingOf(expected));
}

// Nothing a name or an archive smuggled in: no INJECTED, no X from tar's checkpoint action.
void verifyNothingInjected(const WorkFolder& work)
{
    QCOMPARE(injectedFiles(work.path()), QStringList());
    QVERIFY(!QFile::exists(work.file("X")));
    QVERIFY(!QFile::exists(phoneFolders().card + "/X"));
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray le(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}

struct Member {
    QString name;
    QByteArray data;  // a link's target for a link
    char kind = 'f';  // 'f' file, 'd' folder, 'l' link
};

quint32 unixMode(const Member& member)
{
    return member.kind == 'd' ? 040755 : member.kind == 'l' ? 0120777 : 0100644;
}

// A zip archive of stored members, written here so that members can be named as no
// zip program would name them.
QByteArray zipArchive(const QList<Member>& members)
{
    QByteArray out, central;
    for (const Member& member : members) {
        const QByteArray name = member.name.toUtf8() + (member.kind == 'd' ? "/" : "");
        const QByteArray common = le(10, 2) + le(0x0800, 2) + le(0, 2) + le(0, 2) + le(0x5a21, 2)
                                  + le(crc32(member.data), 4) + le(member.data.size(), 4)
                                  + le(member.data.size(), 4) + le(name.size(), 2) + le(0, 2);
        central += le(0x02014b50, 4) + le(0x031e, 2) + common + le(0, 2) + le(0, 2) + le(0, 2)
                   + le(unixMode(member) << 16, 4) + le(out.size(), 4) + name;
        out += le(0x04034b50, 4) + common + name + member.data;
    }
    return out + central + le(0x06054b50, 4) + le(0, 4) + le(members.size(), 2) + le(members.size(), 2)
           + le(central.size(), 4) + le(out.size(), 4) + le(0, 2);
}

// A RAR (version 4) archive of stored members, made from the published block layout:
// no program that writes RAR archives is free.
QByteArray rarArchive(const QList<Member>& members)
{
    const auto block = [](const QByteArray& body) { return le(crc32(body) & 0xffff, 2) + body; };
    QByteArray out("Rar!\x1a\x07\x00", 7);
    out += block(le(0x73, 1) + le(0, 2) + le(13, 2) + le(0, 2) + le(0, 4));
    for (const Member& member : members) {
        const QByteArray name = member.name.toUtf8().replace('/', '\\');
        const quint32 flags = 0x8000 | 0x0200 | (member.kind == 'd' ? 0x00e0 : 0);
        const QByteArray rest = le(member.data.size(), 4) + le(member.data.size(), 4) + le(3, 1)
                                + le(crc32(member.data), 4) + le(0x5a210000, 4) + le(29, 1) + le(0x30, 1)
                                + le(name.size(), 2) + le(unixMode(member), 4) + name;
        out += block(le(0x74, 1) + le(flags, 2) + le(7 + rest.size(), 2) + rest) + member.data;
    }
    return out + block(le(0x7b, 1) + le(0x4000, 2) + le(7, 2));
}

}  // namespace

class ArchivesTest : public QObject
{
    Q_OBJECT
private slots:
    void packTheSelectedRowAndUnpackElsewhere_data();
    void packTheSelectedRowAndUnpackElsewhere();
    void packAChosenFolder_data();
    void packAChosenFolder();
    void packingOntoAnExistingArchiveAsks_data();
    void packingOntoAnExistingArchiveAsks();
    void extractChoosesTheProgramByExtension_data();
    void extractChoosesTheProgramByExtension();
    void extractOnAFolderDoesNothing();
    void zipMadeByZipUnpacks();
    void tgzOpenedFromTheListUnpacksBesideIt();
    void rarUnpacks();
    void unrarGetsItsCommandLine();
    void hostileArchivesStayInTheFolder_data();
    void hostileArchivesStayInTheFolder();
    void linkLeftByAnEarlierArchiveIsNotFollowed_data();
    void linkLeftByAnEarlierArchiveIsNotFollowed();
    void failuresAreReported_data();
    void failuresAreReported();
};

void ArchivesTest::packTheSelectedRowAndUnpackElsewhere_data()
{
    QTest::addColumn<QString>("item");  // the menu item
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("doneText");
    QTest::addColumn<QString>("extension");
    const QString file = "--checkpoint-action=exec=touch X";
    QTest::newRow("TAR, folder") << "newTar" << "pics" << "creat TAR file pics save this dir"
                                 << "TAR creat success" << ".tar.gz";
    QTest::newRow("MTF, folder") << "newMtf" << "pics" << "creat MTF file  pics save this dir"
                                 << "MTF creat success" << ".mtf";
    QTest::newRow("MPKG, folder") << "newMpkg" << "pics" << " creat MPKG file pics save this dir"
                                  << "MPKG creat success" << ".mpkg";
    QTest::newRow("context Compres, file") << "ctxCompres" << file << "creat TAR file " + file + " save this dir"
                                           << "TAR creat success" << ".tar.gz";
    QTest::newRow("MTF, file") << "newMtf" << file << "creat MTF file  " + file + " save this dir"
                               << "MTF creat success" << ".mtf";
    QTest::newRow("MPKG, hostile folder") << "newMpkg" << "$(touch INJECTED) it's"
                                          << " creat MPKG file $(touch INJECTED) it's save this dir"
                                          << "MPKG creat success" << ".mpkg";
}

void ArchivesTest::packTheSelectedRowAndUnpackElsewhere()
{
    QFETCH(QString, item);
    QFETCH(QString, row);
    QFETCH(QString, question);
    QFETCH(QString, doneText);
    QFETCH(QString, extension);
    WorkFolder work;
    installHelpers(work);
    const QString card = phoneFolders().card;
    if (row == "pics" || row.startsWith('$'))
        fillTree(card + "/" + row);
    else
        writeFile(card + "/" + row, "a file that looks like an option");
    My_Widget window;
    window.qListBox(card);
    selectRow(window, row);
    const My_Widget::MenuIds& ids = window.ids();
    const int id = item == "newTar" ? ids.newTar : item == "newMtf" ? ids.newMtf : item == "newMpkg" ? ids.newMpkg
                                                                                                   : ids.ctxCompres;
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.menuSelect(id);
    QCOMPARE(answers.texts(), (QStringList{question, doneText}));
    QVERIFY(QFileInfo(card + "/" + row + extension).isFile());
    QCOMPARE(window.currentFolder().absolutePath(), card);

    const QString elsewhere = work.makeFolder("elsewhere");
    selectRow(window, row + extension);
    answers.press("Folder").pick(elsewhere).press("Ok");
    window.menuSelect(ids.extract);
    QVERIFY(answers.finished());
    QCOMPARE(answers.unexpected(), QStringList());
    QCOMPARE(answers.texts().value(2), "Extract files" + card + "/" + row + extension + " to this dir");
    QCOMPARE(answers.texts().last(), QString("Extracted"));
    QCOMPARE(window.currentFolder().absolutePath(), elsewhere);
    QCOMPARE(QFileInfo(elsewhere + "/" + row).isDir(), QFileInfo(card + "/" + row).isDir());
    if (QFileInfo(card + "/" + row).isDir())
        compareTrees(elsewhere + "/" + row, card + "/" + row);
    else
        QCOMPARE(work.read("elsewhere/" + row), work.read("mmc/mmca1/" + row));
    QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{row});
    verifyNothingInjected(work);
}

void ArchivesTest::packAChosenFolder_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("extension");
    QTest::newRow("TAR beside it") << "packTar" << "Ok" << "creat TAR file  [%1] Save this dir" << ".tar.gz";
    QTest::newRow("MPKG beside it") << "packMpkg" << "Ok" << "creat MPKG file  [%1] Save this dir" << ".mpkg";
    QTest::newRow("MTF into a chosen folder") << "packMtf" << "Folder" << "creat MTF file  [%1] Save this dir"
                                              << ".mtf";
}

void ArchivesTest::packAChosenFolder()
{
    QFETCH(QString, item);
    QFETCH(QString, answer);
    QFETCH(QString, question);
    QFETCH(QString, extension);
    WorkFolder work;
    const QString game = phoneFolders().systemDir + "/game -rf";
    fillTree(game);
    const QString dest = work.makeFolder("dest");
    My_Widget window;
    const My_Widget::MenuIds& ids = window.ids();
    DialogAnswerer answers;
    answers.pick(game).press(answer);
    if (answer == "Folder")
        answers.pick(dest);
    answers.press("Ok");
    window.menuSelect(item == "packTar" ? ids.packTar : item == "packMtf" ? ids.packMtf : ids.packMpkg);
    QVERIFY(answers.finished());
    QCOMPARE(answers.texts().at(1), QString(question).replace("%1", game));
    QCOMPARE(answers.texts().last(), QString("success"));
    const QString into = answer == "Ok" ? phoneFolders().systemDir : dest;
    const QString archive = into + "/game -rf" + extension;
    QVERIFY(QFileInfo(archive).isFile());
    QCOMPARE(window.currentFolder().absolutePath(), into);

    const QString check = work.makeFolder("check");
    QCOMPARE(runIn(check, "/bin/tar", {"-xzf", archive}), 0);
    compareTrees(check + "/game -rf", game);
    verifyNothingInjected(work);
}

void ArchivesTest::packingOntoAnExistingArchiveAsks_data()
{
    QTest::addColumn<bool>("chosenFolder");
    QTest::addColumn<QString>("answer");
    QTest::newRow("row, keep") << false << "Cancel";
    QTest::newRow("row, replace") << false << "Ok";
    QTest::newRow("chosen folder, keep") << true << "Cancel";
    QTest::newRow("chosen folder, replace") << true << "Ok";
}

void ArchivesTest::packingOntoAnExistingArchiveAsks()
{
    QFETCH(bool, chosenFolder);
    QFETCH(QString, answer);
    WorkFolder work;
    const QString card = phoneFolders().card;
    fillTree(card + "/pics");
    writeFile(card + "/pics.mtf", "old archive");
    My_Widget window;
    window.qListBox(card);
    DialogAnswerer answers;
    if (chosenFolder) {
        answers.pick(card + "/pics").press("Ok").press(answer);
    } else {
        selectRow(window, "pics");
        answers.press("Ok").press(answer);
    }
    if (answer == "Ok")
        answers.press("Ok");
    window.menuSelect(chosenFolder ? window.ids().packMtf : window.ids().newMtf);
    QVERIFY(answers.finished());
    QCOMPARE(answers.unexpected(), QStringList());
    QCOMPARE(answers.texts().at(chosenFolder ? 2 : 1), "[pics.mtf] already exists in [" + card + "]. Replace it?");
    if (answer == "Cancel") {
        QCOMPARE(work.read("mmc/mmca1/pics.mtf"), QByteArray("old archive"));
    } else {
        const QString check = work.makeFolder("check");
        QCOMPARE(runIn(check, "/bin/tar", {"-xzf", card + "/pics.mtf"}), 0);
        compareTrees(check + "/pics", card + "/pics");
    }
}

void ArchivesTest::extractChoosesTheProgramByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("question");  // %1 is the path
    QTest::newRow("RAR in capitals") << "Photos.RAR" << "Extract RAR archive   [Photos.RAR] to this dir";
    QTest::newRow("zip") << "Docs.Zip" << "Extract ZIP archive   [Docs.Zip] to this dir";
    QTest::newRow("any other goes to tar") << "data.bin" << "Extract files%1 to this dir";
    QTest::newRow("tar.gz") << "archive.tar.gz" << "Extract files%1 to this dir";
    QTest::newRow("no extension") << "README" << "Extract files%1 to this dir";
}

void ArchivesTest::extractChoosesTheProgramByExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, question);
    WorkFolder work;
    const QString card = phoneFolders().card;
    writeFile(card + "/" + name, "not looked at");
    My_Widget window;
    window.qListBox(card);
    selectRow(window, name);
    DialogAnswerer answers;
    answers.press("Cancel");
    window.menuSelect(window.ids().extract);
    QVERIFY(answers.finished());
    QCOMPARE(answers.texts(), QStringList{QString(question).replace("%1", card + "/" + name)});
    QCOMPARE(QDir(card).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{name});
}

void ArchivesTest::extractOnAFolderDoesNothing()
{
    WorkFolder work;
    const QString card = phoneFolders().card;
    QDir().mkpath(card + "/folder.zip");
    My_Widget window;
    window.qListBox(card);
    selectRow(window, "folder.zip");
    DialogAnswerer answers;
    window.menuSelect(window.ids().extractMain);
    QCOMPARE(answers.texts(), QStringList());
}

void ArchivesTest::zipMadeByZipUnpacks()
{
    WorkFolder work;
    installHelpers(work);
    const QString source = work.makeFolder("source");
    fillTree(source + "/docs");
    QCOMPARE(runIn(source, "/usr/bin/zip", {"-q", "-r", "-y", phoneFolders().card + "/docs.zip", "docs"}), 0);
    // What is already there and not in the archive stays; what is in it is replaced when agreed.
    writeFile(phoneFolders().card + "/docs/keep", "mine");
    writeFile(phoneFolders().card + "/docs/two words", "older");
    My_Widget window;
    window.qListBox(phoneFolders().card);
    selectRow(window, "docs.zip");
    DialogAnswerer answers;
    answers.press("Ok").press("Replace").press("Ok");
    window.menuSelect(window.ids().extractMain);
    QCOMPARE(answers.texts(), (QStringList{"Extract ZIP archive   [docs.zip] to this dir",
                                           "[docs/two words] already in [" + phoneFolders().card + "]. Replace?",
                                           "docs.zipExtracted"}));
    TreeListing expected = listingOf(source + "/docs");
    expected["keep"] = listingOf(work.file("mmc/mmca1/docs")).value("keep");
    compareListings(listingOf(phoneFolders().card + "/docs"), expected);
    QCOMPARE(work.read("mmc/mmca1/docs/keep"), QByteArray("mine"));
    QCOMPARE(window.fileList()->names(), (QStringList{"..", "docs", "docs.zip"}));
    verifyNothingInjected(work);
}

void ArchivesTest::tgzOpenedFromTheListUnpacksBesideIt()
{
    WorkFolder work;
    const QString source = work.makeFolder("source");
    fillTree(source + "/x");
    const QString folder = phoneFolders().card + "/in it's folder";
    QDir().mkpath(folder);
    QCOMPARE(runIn(source, "/bin/tar", {"-czf", folder + "/x.tgz", "--", "x"}), 0);
    My_Widget window;
    window.qListBox(phoneFolders().card);
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.qListBox(folder + "/x.tgz");
    QCOMPARE(answers.texts(), (QStringList{"Extract files" + folder + "/x.tgz to this dir", "Extracted"}));
    compareTrees(folder + "/x", source + "/x");
    verifyNothingInjected(work);
}

void ArchivesTest::rarUnpacks()
{
    WorkFolder work;
    installHelpers(work);
    QList<Member> members{{"shots", {}, 'd'}};
    QStringList names;
    for (const QString& name : hostileNames())
        if (!name.contains('\\'))  // RAR keeps "\" as its folder separator
            members << Member{"shots/" + name, name.toUtf8() + "\n", 'f'};
    members << Member{"shots/deep/er/file", QByteArray(70000, 'r'), 'f'};
    const QString card = phoneFolders().card;
    writeFile(card + "/Photos.RAR", rarArchive(members));
    My_Widget window;
    window.qListBox(card);
    selectRow(window, "Photos.RAR");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.menuSelect(window.ids().extract);
    QCOMPARE(answers.texts(), (QStringList{"Extract RAR archive   [Photos.RAR] to this dir", "Photos.RARExtracted"}));
    TreeListing expected;
    for (const Member& member : members) {
        const QString path = work.makeFolder("expected") + "/" + member.name;
        member.kind == 'd' ? void(QDir().mkpath(path)) : writeFile(path, member.data);
    }
    compareTrees(card + "/shots", work.file("expected/shots"));
    verifyNothingInjected(work);
}

void ArchivesTest::unrarGetsItsCommandLine()
{
    WorkFolder work;
    work.write("unrar", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n");
    QFile::setPermissions(work.file("unrar"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString card = phoneFolders().card;
    writeFile(card + "/it's.rar", "rar");
    My_Widget window;
    window.qListBox(card);
    selectRow(window, "it's.rar");
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.menuSelect(window.ids().extract);
    const QStringList args = QString::fromUtf8(work.read("args")).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(args.mid(0, 6), (QStringList{"x", "-t", "-o+", "-p-", "-kb", card + "/it's.rar"}));
    QCOMPARE(args.size(), 7);
    // The destination is a folder inside the current one, given with a trailing "/".
    QVERIFY2(args.last().startsWith(card + "/") && args.last().endsWith("/"), qPrintable(args.last()));
    QCOMPARE(QDir(card).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"it's.rar"});
}

void ArchivesTest::hostileArchivesStayInTheFolder_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QByteArray>("bytes");  // a zip, or empty for a tar made by /bin/tar
    QTest::addColumn<QStringList>("expected");  // what the target holds afterwards
    QTest::addColumn<bool>("reportedAsFailure");
    const QString outside = "/tmp/kestrel-outside";  // the test's own; must stay empty
    QTest::newRow("tar, ../") << "dotdot.tgz" << QByteArray() << QStringList{"ok"} << true;
    QTest::newRow("tar, absolute") << "abs.tgz" << QByteArray() << QStringList{"tmp", "tmp/kestrel-outside", "tmp/kestrel-outside/abs"} << false;
    QTest::newRow("tar, link then a file through it") << "link.tgz" << QByteArray() << QStringList{} << true;
    QTest::newRow("zip, ../") << "dotdot.zip"
                              << zipArchive({{"../../x", "x"}, {"ok", "ok"}}) << QStringList{"ok", "x"} << true;
    QTest::newRow("zip, absolute") << "abs.zip" << zipArchive({{outside + "/abs", "a"}})
                                   << QStringList{"tmp", "tmp/kestrel-outside", "tmp/kestrel-outside/abs"} << true;
    QTest::newRow("zip, link then a file through it")
        << "link.zip" << zipArchive({{"l", outside.toUtf8(), 'l'}, {"l/x", "x"}}) << QStringList{} << true;
    QTest::newRow("zip, link with ..")
        << "up.zip" << zipArchive({{"d", ".", 'l'}, {"up", "d/../..", 'l'}, {"up/x", "x"}}) << QStringList{} << true;
}

void ArchivesTest::hostileArchivesStayInTheFolder()
{
    QFETCH(QString, archive);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(bool, reportedAsFailure);
    WorkFolder work;
    installHelpers(work);
    const QString outside = "/tmp/kestrel-outside";
    QDir(outside).removeRecursively();
    QVERIFY(QDir().mkpath(outside));
    const QString card = phoneFolders().card;
    const QString target = work.makeFolder("mmc/mmca1/target");
    if (bytes.isEmpty()) {
        const QString staging = work.makeFolder("staging/a/b");
        writeFile(staging + "/ok", "ok");
        writeFile(work.file("staging/a/x"), "x");
        QVERIFY(QFile::link(outside, staging + "/l"));
        QStringList members = archive == "dotdot.tgz" ? QStringList{"../x", "ok"}
                              : archive == "abs.tgz"  ? QStringList{outside + "/abs"}
                                                      : QStringList{"l", "l/x"};
        if (archive == "abs.tgz")
            writeFile(outside + "/abs", "a");
        if (archive == "link.tgz")
            writeFile(outside + "/x", "x");
        QCOMPARE(runIn(staging, "/bin/tar", QStringList{"-czPf", card + "/" + archive, "--"} + members), 0);
        QDir(outside).removeRecursively();
        QVERIFY(QDir().mkpath(outside));
    } else {
        writeFile(card + "/" + archive, bytes);
    }
    My_Widget window;
    window.qListBox(card);
    selectRow(window, archive);
    DialogAnswerer answers;
    answers.press(archive.endsWith(".zip") ? "Ok" : "Folder");
    if (!archive.endsWith(".zip"))
        answers.pick(target);
    answers.press("Ok");
    if (archive.endsWith(".zip")) {
        window.qListBox(target);
        QDir().rename(card + "/" + archive, target + "/" + archive);
        window.qListBox(target);
        selectRow(window, archive);
    }
    window.menuSelect(window.ids().extract);
    QVERIFY(answers.finished());
    const QString shown = answers.texts().last();
    QVERIFY2(shown.startsWith("[" + archive + "] failed!") == reportedAsFailure, qPrintable(shown));

    QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QStringList found = treeListing(target).keys();
    found.removeAll(archive);
    QCOMPARE(found, expected);
    QDir(outside).removeRecursively();
}

void ArchivesTest::linkLeftByAnEarlierArchiveIsNotFollowed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("tar") << "tgz";
    QTest::newRow("zip") << "zip";
}

void ArchivesTest::linkLeftByAnEarlierArchiveIsNotFollowed()
{
    QFETCH(QString, kind);
    WorkFolder work;
    installHelpers(work);
    const QString outside = "/tmp/kestrel-outside";
    QDir(outside).removeRecursively();
    QVERIFY(QDir().mkpath(outside));
    const QString card = phoneFolders().card;
    const QString staging = work.makeFolder("staging");
    QVERIFY(QFile::link(outside, staging + "/l"));
    const QString first = card + "/first." + kind;
    const QString second = card + "/second." + kind;
    if (kind == "tgz") {
        QCOMPARE(runIn(staging, "/bin/tar", {"-czf", first, "--", "l"}), 0);
        writeFile(work.file("later/l/x"), "x");
        QCOMPARE(runIn(work.file("later"), "/bin/tar", {"-czf", second, "--", "l/x"}), 0);
    } else {
        writeFile(first, zipArchive({{"l", outside.toUtf8(), 'l'}}));
        writeFile(second, zipArchive({{"l/x", "x"}}));
    }
    My_Widget window;
    for (const QString& archive : {first, second}) {
        window.qListBox(card);
        DialogAnswerer answers;
        answers.press("Ok").press("Ok");
        window.qListBox(archive);
        QVERIFY(answers.finished());
    }
    QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFileInfo(card + "/l").isSymLink());
    QCOMPARE(work.read("mmc/mmca1/l/x"), QByteArray("x"));
    QDir(outside).removeRecursively();
}

void ArchivesTest::failuresAreReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("withUnrar");
    QTest::newRow("corrupt tgz") << "broken.tgz" << QByteArray("\x1f\x8b\x08 not really gzip") << true;
    QTest::newRow("unknown format") << "data.bin" << QByteArray(600, 'q') << true;
    QTest::newRow("corrupt zip") << "broken.zip" << QByteArray("PK\x03\x04 cut short") << true;
    QTest::newRow("corrupt rar") << "broken.rar" << QByteArray("Rar!\x1a\x07\x00 cut short", 18) << true;
    QTest::newRow("unrar missing") << "fine.rar" << rarArchive({{"a", "a"}}) << false;
}

void ArchivesTest::failuresAreReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withUnrar);
    WorkFolder work;
    installHelpers(work, withUnrar ? QStringList{"unzip", "unrar"} : QStringList{"unzip"});
    const QString card = phoneFolders().card;
    writeFile(card + "/" + name, bytes);
    My_Widget window;
    window.qListBox(card);
    selectRow(window, name);
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.menuSelect(window.ids().extract);
    QVERIFY(answers.finished());
    const QString shown = answers.texts().last();
    QVERIFY2(shown.startsWith("[" + name + "] failed!\n") && !shown.contains("Extracted"), qPrintable(shown));
    QCOMPARE(QDir(card).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{name});
}

QTEST_MAIN(ArchivesTest)
#include "tst_archives.moc"
