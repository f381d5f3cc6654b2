#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "viewer/image_view.h"
#include "viewer/image_viewer.h"

#include "workfolder.h"

#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QTest>

namespace {

// A picture of stripes, so that any part of it has colour.
QByteArray imageBytes(const char* format, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < size.width(); x += 10)
        painter.fillRect(x, 0, 10, size.height(), QColor::fromHsv((x * 7) % 360, 200, 230));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A GIF of one white pixel, as the format describes it.
const QByteArray onePixelGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00"
                             ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                             43);

QString title(const ImageViewer& viewer)
{
    return viewer.getTitleBarWidget()->text();
}

}  // namespace

class ViewerTest : public QObject
{
    Q_OBJECT
private slots:
    void imageIsFittedAndDecodedAtThatSize_data();
    void imageIsFittedAndDecodedAtThatSize();
    void stepsThroughTheFolderInNameOrder_data();
    void stepsThroughTheFolderInNameOrder();
    void anImageThatCannotBeShownSaysWhy_data();
    void anImageThatCannotBeShownSaysWhy();
};

// The window leaves the image 240 x 274 pixels between title and soft keys.
void ViewerTest::imageIsFittedAndDecodedAtThatSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("a wide photo") << "wide.jpg" << QSize(3000, 2000) << QSize(240, 160);
    QTest::newRow("a tall picture") << "tall.png" << QSize(600, 1800) << QSize(91, 274);
    QTest::newRow("an icon keeps its size") << "icon.bmp" << QSize(32, 24) << QSize(32, 24);
}

void ViewerTest::imageIsFittedAndDecodedAtThatSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QSize, shown);
    WorkFolder work;
    work.write(name, imageBytes(QFileInfo(name).suffix().toLatin1(), size));
    ImageViewer viewer(work.file(name));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.view()->size(), QSize(240, 274));
    QCOMPARE(viewer.view()->image().size(), shown);
    QCOMPARE(viewer.view()->message(), QString());
    const QImage shot = viewer.grab().toImage();
    QVERIFY(shot.pixelColor(viewer.view()->geometry().center()).value() > 150);  // the picture, centred
    QCOMPARE(shot.pixelColor(viewer.view()->geometry().topLeft()), QColor(Qt::black));
}

void ViewerTest::stepsThroughTheFolderInNameOrder_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("the configured keys") << "keys";
    QTest::newRow("a swipe") << "swipe";
}

void ViewerTest::stepsThroughTheFolderInNameOrder()
{
    QFETCH(QString, way);
    WorkFolder work;
    work.writeSettings({"Key_Left::52", "Key_Right::54", "Hide::0"});
    const QString folder = work.makeFolder("pictures");
    for (const char* name : {"b.png", "A.jpg", "d.BMP", ".hidden.png"})
        work.write(QString("pictures/") + name, imageBytes("png", QSize(50, 40)));
    work.write("pictures/c.txt", "text");
    work.makeFolder("pictures/folder.png");
    ImageViewer viewer(folder + "/b.png");
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(title(viewer), "b.png  2 / 3");

    auto step = [&](bool forward) {
        if (way == "keys") {
            QTest::keyClick(&viewer, forward ? Qt::Key_6 : Qt::Key_4);
        } else {
            const int from = forward ? 200 : 40, to = forward ? 40 : 200;
            QTest::mousePress(viewer.view(), Qt::LeftButton, {}, QPoint(from, 100));
            QTest::mouseMove(viewer.view(), QPoint((from + to) / 2, 105));
            QTest::mouseRelease(viewer.view(), Qt::LeftButton, {}, QPoint(to, 110));
        }
        return title(viewer);
    };
    QCOMPARE(step(true), "d.BMP  3 / 3");
    QCOMPARE(step(true), "A.jpg  1 / 3");
    QCOMPARE(step(false), "d.BMP  3 / 3");
    QCOMPARE(viewer.currentFile(), folder + "/d.BMP");

    // The arrow that system.txt does not name does nothing; the middle key goes on.
    QTest::keyClick(&viewer, Qt::Key_Right);
    QCOMPARE(title(viewer), "d.BMP  3 / 3");
    static_cast<UTIL_CST*>(viewer.getCSTWidget())->getMidBtn()->click();
    QCOMPARE(title(viewer), "A.jpg  1 / 3");
}

void ViewerTest::anImageThatCannotBeShownSaysWhy_data()
{
    QTest::addColumn<QString>("name");  // empty: no image named
    QTest::addColumn<QByteArray>("bytes");  // null: no such file
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("partShown");
    const QByteArray jpeg = imageBytes("jpg", QSize(300, 200));
    const QByteArray bmp = imageBytes("bmp", QSize(300, 200));
    QTest::newRow("no image named") << "" << QByteArray() << "No image to show" << false;
    QTest::newRow("missing") << "gone.jpg" << QByteArray() << "[gone.jpg]\nnot found" << false;
    QTest::newRow("text under an image's name") << "note.png" << QByteArray("hello")
                                                << "[note.png]\ncannot be shown: Unsupported image format" << false;
    QTest::newRow("PNG cut short") << "cut.png" << imageBytes("png", QSize(300, 200)).left(100)
                                   << "[cut.png]\ncannot be shown: Unable to read image data" << false;
    const QString incomplete = "]\nis incomplete: only a part could be read";
    QTest::newRow("JPEG cut short") << "cut.jpg" << jpeg.left(jpeg.size() / 2) << "[cut.jpg" + incomplete << true;
    QTest::newRow("BMP cut short") << "cut.bmp" << bmp.left(bmp.size() / 2) << "[cut.bmp" + incomplete << true;
    QTest::newRow("GIF cut short") << "cut.gif" << onePixelGif.left(40) << "[cut.gif" + incomplete << true;
    QTest::newRow("a whole GIF") << "whole.gif" << onePixelGif << "" << true;
}

void ViewerTest::anImageThatCannotBeShownSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(bool, partShown);
    WorkFolder work;
    if (!bytes.isNull())
        work.write(name, bytes);
    ImageViewer viewer(name.isEmpty() ? QString() : work.file(name));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.view()->message(), message);
    QCOMPARE(!viewer.view()->image().isNull(), partShown);
}

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
