#include "commands/message_layer.h"
#include "commands/transfer.h"
#include "commands/trash.h"
#include "platform/softkeys.h"
#include "trash/trash_window.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A small file system of its own below the working folder, named in the test's mount table, as a
// card is; false where this user cannot mount one.
bool mountCard(const WorkFolder& work)
{
    const QString card = work.makeFolder("card");
    work.write("mounts", "tmpfs " + card.toUtf8() + " tmpfs rw 0 0\n");
    return ::mount("tmpfs", QFile::encodeName(card).constData(), "tmpfs", 0, "size=1m") == 0;
}

}  // namespace

class TrashTest : public QObject
{
    Q_OBJECT
private slots:
    void recordPathRoundTrip()
    {
        QByteArray decoded;
        for (const QByteArray& name : QByteArrayList{"100%", "a%2Fb", "\xff\xfe"} + hostileNames().join('\0').toUtf8().split('\0')) {
            const QByteArray path = "/card/" + name + "/x", encoded = encodeTrashPath(path);
            QVERIFY(decodeTrashPath(encoded, &decoded) && decoded == path);
            QVERIFY2(QRegularExpression("^[A-Za-z0-9_.~!*'()%/-]*$").match(QString::fromLatin1(encoded)).hasMatch(), encoded);
        }
        for (const char* broken : {"/a%", "/a%4", "/a%zz"})
            QVERIFY(!decodeTrashPath(broken, &decoded));
    }

    void trashOfACard_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("trash");  // below the card; empty: the entry goes for good
        QTest::newRow("no shared trash") << "" << ".Trash-%u";
        QTest::newRow("shared trash with the sticky bit") << "sticky" << ".Trash/%u";
        QTest::newRow("shared trash without the sticky bit") << "open" << ".Trash-%u";
        QTest::newRow("shared trash a link") << "link" << ".Trash-%u";
        QTest::newRow("full card") << "full" << "";
        QTest::newRow("read-only card") << "read-only" << "";
    }
    // Each file system keeps its own trash: a delete on the card is a rename there, never a copy.
    void trashOfACard()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, trash);
        WorkFolder work;
        if (!mountCard(work))
            QSKIP("a small file system of its own needs root");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(work.file("card")).constData(), MNT_DETACH); });
        const QString card = work.file("card");
        work.write("card/photo.jpg", "photo");
        if (setUp == "sticky" || setUp == "open")
            QVERIFY(::mkdir(QFile::encodeName(card + "/.Trash").constData(), setUp == "sticky" ? 01777 : 0777) == 0);
        if (setUp == "link")
            QVERIFY(QFile::link(work.makeFolder("elsewhere"), card + "/.Trash"));
        QFile filler(card + "/filler");  // as much as the card takes
        if (setUp == "full" && filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(1 << 20, 'f')) > 0)
            filler.close();
        if (setUp == "read-only")
            QVERIFY(::mount(nullptr, QFile::encodeName(card).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);

        DialogAnswerer answers;
        answers.follow({"Ok", "Ok"});
        const MessageLayer messages(nullptr, "Dialog_Empty_Trash.gif");
        runBatch(messages, Transfer::Delete, {card + "/photo.jpg"}, QString(), "deleted");
        expectAllAnswered(answers);
        QCOMPARE(answers.texts().first().endsWith("remove can't reverse!"), trash.isEmpty());
        if (trash.isEmpty()) {  // for good, as the question said: a full card must still free room
            QCOMPARE(entryExists(card + "/photo.jpg"), setUp == "read-only");
            QCOMPARE(QDir(card).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot).filter("Trash"), {});
            return;
        }
        QCOMPARE(work.read("card/" + trash.replace("%u", QString::number(::getuid())) + "/files/photo.jpg"), "photo");
        QCOMPARE(trashedEntries().size(), 1);
        QCOMPARE(trashedEntries().first().original, QFile::encodeName(card + "/photo.jpg"));
        QVERIFY(QDir(work.file("elsewhere")).isEmpty());
    }

    // Undo takes back exactly what the delete moved. The window restores into a folder that is
    // gone and over an entry that took the name, which then waits in the trash; a record another
    // program wrote is read whatever else it holds, and a damaged one keeps its entry.
    void restoreAndUndo()
    {
        WorkFolder work;
        for (const char* name : {"f/a", "f/b", "f/sub/c"})
            work.write(name, name);
        const MessageLayer messages(nullptr, "Dialog_Empty_Trash.gif");
        DialogAnswerer answers;
        answers.follow({"Ok", "Undo+f/a", "Ok", "Ok", "Ok"});
        runBatch(messages, Transfer::Delete, {work.file("f/a"), work.file("f/sub")}, QString(), "deleted");
        QCOMPARE(work.read("f/a") + work.read("f/sub/c"), "meanwhilef/sub/c");
        QCOMPARE(answers.texts().at(2), "[a] stays in the Trash: its place is taken");
        runBatch(messages, Transfer::Delete, {work.file("f/sub")}, QString(), "deleted");
        expectAllAnswered(answers);
        QVERIFY(QDir(work.file("f")).removeRecursively());
        work.write("xdg/data/Trash/files/foreign", "foreign");
        work.write("xdg/data/Trash/info/foreign.trashinfo",
                   "# written elsewhere\r\n[Other]\r\nPath=/nowhere\r\n[Trash Info]\r\nDeletionDate=2020-01-02T03:04:05\r\nPath="
                       + encodeTrashPath(QFile::encodeName(work.file("g/foreign"))) + "\r\nX-Extra=1\r\n");
        work.write("xdg/data/Trash/files/broken", "broken");
        work.write("xdg/data/Trash/info/broken.trashinfo", "[Trash Info]\nPath=%zz\n");

        TrashWindow window(nullptr);
        window.show();
        const auto restore = [&](const QString& name, const QStringList& steps) {
            const QList<TrashedEntry> entries = trashedEntries();  // the window's rows, in order
            const auto row = std::find_if(entries.cbegin(), entries.cend(), [&](const TrashedEntry& e) { return e.shownName() == name; });
            window.entryList()->setCurrentItem(int(row - entries.cbegin()));
            answers.follow(steps);
            QTest::mouseClick(window.findChild<UTIL_CST*>()->getMidBtn(), Qt::LeftButton);
            expectAllAnswered(answers);
            return answers.texts().last();
        };
        QCOMPARE(restore("broken", {"Ok"}), "[broken] cannot be restored: its record is damaged");
        QCOMPARE(restore("foreign", {"Ok"}), "[foreign] restored to [" + work.file("g") + "]");
        restore("sub", {"Ok"});
        work.write("f/a", "new a");
        restore("a", {"Ok", "Ok"});
        QCOMPARE(work.read("f/a") + work.read("f/sub/c") + work.read("g/foreign"), "f/af/sub/cforeign");
        QCOMPARE(trashedEntries().size(), 2);
        QCOMPARE(work.read("xdg/data/Trash/files/a") + work.read("xdg/data/Trash/files/broken"), "new abroken");
    }
};

QTEST_MAIN(TrashTest)
#include "tst_trash.moc"
