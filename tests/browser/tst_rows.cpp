#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/icons.h"
#include "browser/my_listbox.h"
#include "workfolder.h"

#include <QFile>
#include <QPainter>
#include <QTest>

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

QImage iconArea(const QImage& image, int row)
{
    return image.copy(5, row * UTIL_ListBox::rowHeight, 20, 20).convertToFormat(QImage::Format_RGB32);
}

QImage iconOnRow(const QString& resource, const QColor& background)
{
    QImage expected(20, 20, QImage::Format_RGB32);
    expected.fill(background);
    QPainter painter(&expected);
    painter.drawPixmap(0, 0, RES_ICON_Reader().getIcon(resource, true));
    return expected;
}

}  // namespace

class RowsTest : public QObject
{
    Q_OBJECT
private slots:
    void drawsTheIconOfTheEntryType_data();
    void drawsTheIconOfTheEntryType();
    void paintsOnlyVisibleRows();
};

void RowsTest::drawsTheIconOfTheEntryType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("icon");
    const QString audio = "FMMS_File_Audio_S.g", video = "FMMS_File_Video_S.g", image = "FMMS_File_Image_S.g",
                  game = "FMMS_File_Game_S.g", file = "FMMS_Personal_File_S.g",
                  folderIcon = "FMMS_Personal_Folder_S.g", card = "FMMS_Personal_MMC_SD.g";
    QTest::newRow("Song.MP3") << "Song.MP3" << false << audio;
    QTest::newRow("voice.wav") << "voice.wav" << false << audio;
    QTest::newRow("clip.RMVB") << "clip.RMVB" << false << video;
    QTest::newRow("movie.rm") << "movie.rm" << false << video;
    QTest::newRow("old.dat") << "old.dat" << false << video;
    QTest::newRow("photo.JPEG") << "photo.JPEG" << false << image;
    QTest::newRow("shot.png") << "shot.png" << false << image;
    QTest::newRow("game.jar") << "game.jar" << false << game;
    QTest::newRow(".jar alone") << ".jar" << false << game;
    QTest::newRow("README") << "README" << false << file;
    QTest::newRow("a.txt") << "a.txt" << false << file;
    QTest::newRow("rm") << "rm" << false << file;
    QTest::newRow("folder named like a song") << "tunes.mp3" << true << folderIcon;
    QTest::newRow("MMC is case-sensitive") << "MMC" << true << folderIcon;
    QTest::newRow("mmca1") << "mmca1" << true << card;
    QTest::newRow("mmc") << "mmc" << true << card;
    QTest::newRow("file named mmc") << "mmca1.txt" << false << file;
}

// The icon is read off the painted row itself, so the choice by the file system is tested too.
void RowsTest::drawsTheIconOfTheEntryType()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(QString, icon);
    WorkFolder work;
    const QString parent = work.makeFolder("rows");
    if (folder)
        work.makeFolder("rows/" + name);
    else
        work.write("rows/" + name, "x");
    My_ListBox list(nullptr, 0);
    list.resize(240, 200);
    list.Idir(parent);
    list.appendNames({"..", name});
    list.setCurrentItem(0);
    const QImage painted = list.viewport()->grab().toImage();
    const QColor base = list.palette().color(QPalette::Base);
    QCOMPARE(iconArea(painted, 1), iconOnRow(icon, base));
    const QColor highlight = list.palette().color(QPalette::Highlight);
    QCOMPARE(iconArea(painted, 0), iconOnRow("FMMS_Personal_Folder_S.g", highlight));
}

void RowsTest::paintsOnlyVisibleRows()
{
    WorkFolder work;
    CountingList list;
    list.resize(240, 10 * UTIL_ListBox::rowHeight);
    list.Idir(work.path());
    QStringList names;
    for (int i = 0; i < 100000; ++i)
        names << QString("file%1").arg(i);
    list.appendNames(names);
    list.setCurrentItem(50000);
    list.viewport()->grab();
    QVERIFY(list.painted > 0);
    QVERIFY2(list.painted <= 11, qPrintable(QString::number(list.painted)));
    QCOMPARE(list.Istr(), QString("file50000"));
}

QTEST_MAIN(RowsTest)
#include "tst_rows.moc"
