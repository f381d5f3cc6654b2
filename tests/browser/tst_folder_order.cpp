// The file list reads folders itself, for speed; its rows must be exactly what QDir
// gives for the same filter and sort order, whatever the folder holds.
#include "app/my_widget.h"
#include "browser/my_listbox.h"
#include "workfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

void makeFile(const QString& path, int size, qint64 modifiedMs)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(QByteArray(size, 'x'));
    QVERIFY(file.setFileTime(QDateTime::fromMSecsSinceEpoch(modifiedMs), QFileDevice::FileModificationTime));
}

// Names and kinds that QDir treats in its own ways: links followed, broken links and
// pipes left out, hidden names, non-ASCII case, equal sizes and times.
void fillTrickyFolder(const QString& folder)
{
    const qint64 base = QDateTime::currentMSecsSinceEpoch() - 86400000;
    QDir dir(folder);
    dir.mkdir("Zeta");
    dir.mkdir("alpha");
    dir.mkdir(".hidden folder");
    dir.mkdir("big folder");
    for (int i = 0; i < 300; ++i)  // a folder whose own size is larger than the others'
        makeFile(folder + QStringLiteral("/big folder/entry with a long name %1").arg(i), 0, base);
    makeFile(folder + "/b.txt", 10, base + 5000);
    makeFile(folder + "/C.txt", 10, base + 5000);         // same size and time as b.txt
    makeFile(folder + "/a.txt", 10, base + 5000 + 400);   // another millisecond
    makeFile(folder + "/d.TXT", 3000, base);
    makeFile(folder + "/.profile", 7, base + 9000);
    makeFile(folder + QString::fromUtf8("/\u017fa"), 1, base + 1);   // long s: lower case already
    makeFile(folder + QString::fromUtf8("/sb"), 2, base + 2);
    makeFile(folder + QString::fromUtf8("/\u00c9cole"), 4, base + 3);
    makeFile(folder + QString::fromUtf8("/\u00e9t\u00e9"), 5, base + 4);
    makeFile(folder + QString::fromUtf8("/\u65e5\u672c"), 6, base + 6);
    makeFile(folder + QString::fromUtf8("/IMG\u00c4.jpg"), 6, base + 6);  // upper case ASCII, then not ASCII
    makeFile(folder + "/IMG_b.jpg", 6, base + 6);
    makeFile(folder + "/price$list", 8, base + 7);
    makeFile(folder + "/diskb", 9, base + 8);
    QVERIFY(QFile::link(folder + "/Zeta", folder + "/link to folder"));
    QVERIFY(QFile::link(folder + "/d.TXT", folder + "/link to file"));
    QVERIFY(QFile::link(folder + "/nowhere", folder + "/broken link"));
    QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0644), 0);
}

}  // namespace

class FolderOrderTest : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreWhatQDirGives_data();
    void rowsAreWhatQDirGives();
    void unreadableFolderListsOnlyTheParent();
};

void FolderOrderTest::rowsAreWhatQDirGives_data()
{
    QTest::addColumn<QString>("taxis");
    QTest::addColumn<QString>("hide");
    for (const char* taxis : {"0", "1", "2"})
        for (const char* hide : {"0", "1"})
            QTest::addRow("Taxis %s, Hide %s", taxis, hide) << taxis << hide;
}

void FolderOrderTest::rowsAreWhatQDirGives()
{
    QFETCH(QString, taxis);
    QFETCH(QString, hide);
    WorkFolder work;
    const QString folder = work.makeFolder("mmc/mmca1/tricky");
    fillTrickyFolder(folder);
    work.writeSettings({"File::" + folder, "Taxis::" + taxis, "Hide::" + hide});
    My_Widget window;
    QCOMPARE(window.currentFolder().absolutePath(), folder);

    QDir reference(folder);
    reference.setFilter(window.currentFolder().filter());
    reference.setSorting(window.currentFolder().sorting());
    QStringList expected{".."};
    for (const QString& name : reference.entryList())
        if (name != "." && name != ".." && name != "diskb")
            expected << name;
    QCOMPARE(window.fileList()->names(), expected);
    QVERIFY(!expected.contains("broken link"));
    QVERIFY(!expected.contains("pipe"));
    QCOMPARE(expected.contains(".profile"), hide == "1");
}

void FolderOrderTest::unreadableFolderListsOnlyTheParent()
{
    if (::geteuid() == 0)
        QSKIP("the superuser reads every folder");
    WorkFolder work;
    const QString folder = work.makeFolder("mmc/mmca1/locked");
    makeFile(folder + "/inside", 1, QDateTime::currentMSecsSinceEpoch());
    QVERIFY(QFile::setPermissions(folder, QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    My_Widget window;
    window.qListBox(folder);
    QCOMPARE(window.fileList()->names(), QStringList{".."});
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QTEST_MAIN(FolderOrderTest)
#include "tst_folder_order.moc"
