#include "platform/keys.h"
#include "core/desktop_entries.h"
#include "core/filetypes.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/working_folder.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDir>
#include <QTest>


namespace {

// A settings file before, the key read and its value, the value written and the file after;
// the bytes a file may grow to, 0 for no limit.
struct Rewrite
{
    QByteArray before;  // null: no file
    QString key, read, value;
    QByteArray after;
    int limit = 0;
};

}  // namespace

Q_DECLARE_METATYPE(Rewrite)

class CoreTest : public QObject
{
    Q_OBJECT
private slots:
    // Lines of key::value: the first line of a key is read, every line of it rewritten,
    // every other line kept byte for byte, and no line ever added. A write cut short (by a file
    // size limit, as a full card would) keeps the old file whole.
    void readsAndRewritesLines_data()
    {
        QTest::addColumn<Rewrite>("rewrite");
        const auto row = [](const char* name, const Rewrite& rewrite) { QTest::newRow(name) << rewrite; };
        row("line ends become CRLF", {"Hide::1\nTaxis::2\n", "Taxis", "2", "0", "Hide::1\r\nTaxis::0\r\n"});
        row("absent key adds nothing", {"Hide::0\r\n", "Key_A", "", "65", "Hide::0\r\n"});
        row("value holds the separator", {"File::/a::b\n", "File", "/a::b", "/x::", "File::/x::\r\n"});
        row("every line of the key", {"click::1\nclick::2\n", "click", "1", "0", "click::0\r\nclick::0\r\n"});
        row("last line without an end", {"Hide::0\nwindow::1", "window", "1", "0", "Hide::0\r\nwindow::0\r\n"});
        row("blank in the key counts", {"Hide ::1\n", "Hide", "", "0", "Hide ::1\n"});  // nothing to rewrite
        row("other lines keep their bytes", {"File::/caf\xc3\xa9\r\n\r\nHide::0\r\n", "Hide", "0", "1",
            "File::/caf\xc3\xa9\r\n\r\nHide::1\r\n"});
        row("values are stored as UTF-8", {"PassWord::\r\n", "PassWord", "", "caf\u00e9", "PassWord::caf\xc3\xa9\r\n"});
        row("no file stays missing", {QByteArray(), "Hide", "", "1", QByteArray()});
        const QByteArray old = "File::/mmc/mmca1/some/long/folder/name\r\nHide::0\r\n";
        row("a write cut short", {old, "File", "/mmc/mmca1/some/long/folder/name", "/mmc/mmca1/another/name", old, 8});
    }
    void readsAndRewritesLines()
    {
        QFETCH(Rewrite, rewrite);
        const auto& [before, key, read, value, after, limit] = rewrite;
        WorkFolder work;
        if (!before.isNull())
            work.write("system.txt", before);
        QCOMPARE(iniRead(key), read);
        QVERIFY(!iniRead(key).isNull());
        const bool written = withFileSizeLimit(limit, [&] { return iniWrite(key, value); });
        QCOMPARE(written, after.contains(key.toUtf8() + "::" + value.toUtf8()));
        QCOMPARE(work.read("system.txt"), after);
        // No file made where none was, and no temporary file left behind.
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), before.isNull() ? QStringList() : QStringList("system.txt"));
        QCOMPARE(fromStoredBytes(iniRead(key)), written ? value : read);
    }

    // Codes recorded on a handset: printable keys their value, special keys from 0x1000,
    // phone keys from 0x1100, any other key its low 16 bits.
    void keyCodesAreTheHandsetNumbers()
    {
        const QList<QPair<int, int>> keys = {
            {Qt::Key_A, 65}, {Qt::Key_5, 53}, {Qt::Key_Escape, 4096}, {Qt::Key_Return, 4100}, {Qt::Key_Enter, 4101},
            {Qt::Key_Left, 4114}, {Qt::Key_Up, 4115}, {Qt::Key_Right, 4116}, {Qt::Key_Down, 4117}, {Qt::Key_F1, 4144},
            {Qt::Key_Call, 4356}, {Qt::Key_Hangup, 4357}, {Qt::Key_Context1, 4352}, {Qt::Key_Yes, 1}};
        for (const auto& [key, code] : keys)
            QCOMPARE(oldToolkitKeyCode(key), code);
    }

    // Started outside a working folder (no system.txt), the program prepares $XDG_CONFIG_HOME/kestrel
    // from what is installed beside it and runs there; a second start changes nothing, not even a
    // file the user edited or a link of the user's own.
    void launcherStartPreparesTheWorkingFolderOnce()
    {
        WorkFolder work;
        QTemporaryDir prefix;
        for (const char* file : {"libexec/kestrel/Edit", "libexec/kestrel/Img", "libexec/kestrel/unzip",
                                 "libexec/kestrel/unrar", "share/kestrel/Selected.png", "share/kestrel/Unselected.png"})
            writeFile(prefix.filePath(file), file);
        const QString folder = work.file("xdg/config/kestrel");  // each test has a config folder of its own
        work.writeSettings({"Hide::0"});
        QVERIFY(enterWorkingFolder(prefix.filePath("bin")));  // a working folder already: it stays
        QCOMPARE(QDir::currentPath(), work.path());
        QVERIFY(!QFile::exists(folder));

        QVERIFY(QFile::remove(work.file("system.txt")));
        QVERIFY(enterWorkingFolder(prefix.filePath("bin")));
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(treeListing(folder).keys(), QStringList({"Edit", "Img", "Selected.png", "Unselected.png", "setup.txt",
                                                          "software.txt", "system.txt", "unrar", "unzip"}));
        // Every key, one CRLF line each: the program only rewrites lines that are there.
        QCOMPARE(work.read("xdg/config/kestrel/system.txt"),
                 "File::" + QDir::homePath().toUtf8() + "\r\nPassWord::\r\nHide::0\r\nTaxis::0\r\nwindow::0\r\n"
                     "click::0\r\nKey_Enter::4100\r\nKey_Up::4115\r\nKey_Down::4117\r\nKey_Left::4114\r\n"
                     "Key_Right::4116\r\nKey_A::\r\nKey_B::\r\nKey_C::\r\nKey_D::\r\nImgFile::\r\nTXTFile::\r\n"
                     "EFile::\r\n");
        writeFile(folder + "/software.txt", "Mine::/bin/true\n");
        QVERIFY(QFile::remove(folder + "/Edit") && QFile::link("/bin/true", folder + "/Edit"));
        const TreeListing before = treeListing(folder);
        QDir::setCurrent(work.path());
        QVERIFY(enterWorkingFolder(prefix.filePath("bin")));
        QCOMPARE(treeListing(folder), before);
        QVERIFY(QFile::remove(folder + "/Img") && QFile::link(prefix.filePath("gone/Img"), folder + "/Img"));
        QVERIFY(prepareWorkingFolder(folder, prefix.filePath("bin")));
        QCOMPARE(QFileInfo(folder + "/Img").symLinkTarget(), prefix.filePath("libexec/kestrel/Img"));
    }

    // Opening and the search read a name by its extension; the row icons, the viewer and
    // Extract by its ending, which a trailing dot or a name without a dot does not have.
    void readsANameBothWays_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<FileKind>("byEnding");
        QTest::addColumn<FileKind>("byExtension");
        const auto row = [](const char* name, const char* extension, FileKind byEnding, FileKind byExtension) {
            QTest::newRow(name) << name << extension << byEnding << byExtension;
        };
        row("NAME.JPG", "jpg", FileKind::Image, FileKind::Image);
        row("photo.jpeg", "jpeg", FileKind::Image, FileKind::Image);
        row("clip.RMVB", "rmvb", FileKind::Video, FileKind::Video);
        row("movie.rm", "rm", FileKind::Video, FileKind::Video);
        row("x.mpeg", "mpeg", FileKind::None, FileKind::Video);  // a video to the search alone
        row("x.ram", "ram", FileKind::Video, FileKind::None);    // a video to the row icons alone
        row(".jar", "jar", FileKind::JavaProgram, FileKind::JavaProgram);
        row("x.jpg.", "jpg", FileKind::None, FileKind::Image);
        row("jpg", "jpg", FileKind::None, FileKind::Image);
        row("...", "", FileKind::None, FileKind::None);
        row("archive.tar.gz", "gz", FileKind::TarArchive, FileKind::TarArchive);
        row("Photos.RAR", "rar", FileKind::RarArchive, FileKind::RarArchive);
        row("game.mpkg", "mpkg", FileKind::PhonePackage, FileKind::PhonePackage);
    }
    void readsANameBothWays()
    {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(FileKind, byEnding);
        QFETCH(FileKind, byExtension);
        QCOMPARE(fileExtension(name), extension);
        QCOMPARE(endingKind(name), byEnding);
        QCOMPARE(extensionKind(extension), byExtension);
    }

    // An Exec line (its string escapes already undone) as the arguments a program gets.
    void execLineToArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");  // @ is the path, # its URL
        QTest::newRow("quotes and their escapes, no file code: the path last")
            << "\"my prog\"  \"say \\\"hi\\\" \\$HOME \\`x\\` \\\\ \\n\" a\"b c\"d \"\""
            << QStringList{"my prog", "say \"hi\" $HOME `x` \\ \\n", "ab cd", "", "@"};
        QTest::newRow("field codes") << "prog %i %c -k%k --x=%f %% %U %F" << QStringList{"prog", "-k", "--x=@", "%", "#", "@"};
        QTest::newRow("an open quote") << "prog \"a" << QStringList();
        QTest::newRow("only dropped codes") << "%i %c" << QStringList();
    }
    void execLineToArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, arguments);
        const QString path = "/card/it's a b%.png";
        arguments.replaceInStrings("@", path).replaceInStrings("#", "file:///card/it's%20a%20b%25.png");
        QCOMPARE(withFile(execArguments(exec), path), arguments);
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
