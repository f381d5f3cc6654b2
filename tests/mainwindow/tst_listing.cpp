#include "mainwindow/my_widget.h"
#include "commands/fileicons.h"
#include "mainwindow/my_listbox.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {

// A file list that counts the rows it paints.
class CountingList : public My_ListBox
{
public:
    CountingList() : My_ListBox(nullptr, 0) {}
    int painted = 0;

protected:
    void paintCell(QPainter* painter, int row, int column) override
    {
        ++painted;
        My_ListBox::paintCell(painter, row, column);
    }
};

}  // namespace

class ListingTest : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreWhatQDirGives_data()
    {
        QTest::addColumn<QString>("taxis");
        QTest::addColumn<QString>("hide");
        for (const char* taxis : {"0", "1", "2", "9"})
            for (const char* hide : {"0", "1"})
                QTest::addRow("Taxis %s, Hide %s", taxis, hide) << taxis << hide;
    }
    // The list reads folders itself, for speed; its rows are what QDir gives for the same
    // filter and order (less "diskb"), whatever the folder holds: links followed, broken
    // links and pipes left out, hidden names, case beyond ASCII, equal sizes and times.
    void rowsAreWhatQDirGives()
    {
        QFETCH(QString, taxis);
        QFETCH(QString, hide);
        WorkFolder work;
        const QString folder = work.makeFolder("tricky");
        for (const char* name : {"Zeta", "alpha", ".hidden folder", "big folder"})
            QDir(folder).mkdir(name);
        for (int i = 0; i < 300; ++i)  // a folder whose own size is larger than the others'
            writeFile(folder + QString("/big folder/entry with a long name %1").arg(i));
        const QList<std::tuple<QString, int, int>> files = {
            {"b.txt", 10, 5000}, {"C.txt", 10, 5000}, {"a.txt", 10, 4600}, {"d.TXT", 3000, 9000},
            {".profile", 7, 1000}, {"\u017fa", 1, 8999}, {"sb", 2, 8998}, {"\u00c9cole", 4, 8997},
            {"\u00e9t\u00e9", 5, 8996}, {"\u65e5\u672c", 6, 8994}, {"IMG\u00c4.jpg", 6, 8994}, {"IMG_b.jpg", 6, 8994},
            {"price$list", 8, 8993}, {"diskb", 9, 8992}};
        for (const auto& [name, size, age] : files)
            writeFile(folder + "/" + name, QByteArray(size, 'x'), age);
        QVERIFY(QFile::link(folder + "/Zeta", folder + "/link to folder"));
        QVERIFY(QFile::link(folder + "/d.TXT", folder + "/link to file"));
        QVERIFY(QFile::link(folder + "/nowhere", folder + "/broken link"));
        QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0644), 0);
        work.writeSettings({"File::" + folder, "Taxis::" + taxis, "Hide::" + hide});
        My_Widget window;

        const QDir& listed = window.currentFolder();
        const QStringList expected = QDir(folder).entryList(listed.filter() | QDir::NoDotAndDotDot, listed.sorting());
        QStringList rows = QStringList("..") + expected;
        rows.removeAll("diskb");
        QCOMPARE(window.fileList()->names(), rows);
        QCOMPARE(expected.contains(".profile"), hide == "1");
        QVERIFY(expected.contains("price$list") && !expected.contains("pipe") && !expected.contains("broken link"));
    }

    // A file's icon follows its ending, a folder's its name alone.
    void iconsFollowTheNameAndKind()
    {
        QCOMPARE(FileIcons::fileIcon("Song.MP3"), FileIcons::Audio);
        QCOMPARE(FileIcons::fileIcon("clip.RMVB"), FileIcons::Video);
        QCOMPARE(FileIcons::fileIcon("photo.JPEG"), FileIcons::Image);
        QCOMPARE(FileIcons::fileIcon(".jar"), FileIcons::Game);
        QCOMPARE(FileIcons::fileIcon("mmca1"), FileIcons::File);
        QCOMPARE(FileIcons::folderIcon("tunes.mp3"), FileIcons::Folder);
        QCOMPARE(FileIcons::folderIcon("mmca1"), FileIcons::Card);
    }

    void paintsOnlyVisibleRows()
    {
        CountingList list;
        QCOMPARE(list.Istr(), QString());
        list.resize(240, 10 * UTIL_ListBox::rowHeight);
        QStringList names;
        for (int i = 0; i < 100000; ++i)
            names << QString("file%1").arg(i);
        list.appendNames(names);
        list.setCurrentItem(50000);
        list.viewport()->grab();
        QVERIFY2(list.painted > 0 && list.painted <= 11, qPrintable(QString::number(list.painted)));
        QCOMPARE(list.Istr(), QString("file50000"));
    }
};

QTEST_MAIN(ListingTest)
#include "tst_listing.moc"
