#include "platform/softkeys.h"
#include "viewer/image_view.h"
#include "viewer/image_viewer.h"

#include "workfolder.h"

#include <QBuffer>
#include <QLabel>
#include <QTest>

namespace {

// A picture of one colour, as the format stores it.
QByteArray imageBytes(const char* format, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    image.save(&buffer, format);
    return buffer.data();
}

// A GIF of one white pixel, as the format describes it.
const QByteArray onePixelGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00"
                             ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                             43);

}  // namespace

class ViewerTest : public QObject
{
    Q_OBJECT
private slots:
    // The window leaves the image 240 x 274 pixels between title and soft keys; a part of a
    // picture cut short is shown with a message.
    void imageIsFittedOrSaysWhyNot_data()
    {
        QTest::addColumn<QString>("name");  // empty: no image named
        QTest::addColumn<QByteArray>("bytes");  // null: no such file
        QTest::addColumn<QString>("message");
        QTest::addColumn<QSize>("shown");  // 0 x 0: nothing shown
        const QByteArray jpeg = imageBytes("jpg", QSize(300, 200));
        const QString incomplete = "]\nis incomplete: only a part could be read";
        QTest::newRow("a wide photo") << "wide.jpg" << imageBytes("jpg", QSize(3000, 2000)) << "" << QSize(240, 160);
        QTest::newRow("a tall picture") << "tall.png" << imageBytes("png", QSize(600, 1800)) << "" << QSize(91, 274);
        QTest::newRow("a whole GIF") << "whole.gif" << onePixelGif << "" << QSize(1, 1);
        QTest::newRow("no image named") << "" << QByteArray() << "No image to show" << QSize(0, 0);
        QTest::newRow("missing") << "gone.jpg" << QByteArray() << "[gone.jpg]\nnot found" << QSize(0, 0);
        QTest::newRow("text under an image's name") << "note.png" << QByteArray("hello")
                                                    << "[note.png]\ncannot be shown: Unsupported image format" << QSize(0, 0);
        QTest::newRow("JPEG cut short") << "cut.jpg" << jpeg.left(jpeg.size() / 2) << "[cut.jpg" + incomplete << QSize(240, 160);
        QTest::newRow("GIF cut short") << "cut.gif" << onePixelGif.left(40) << "[cut.gif" + incomplete << QSize(1, 1);
    }

    void imageIsFittedOrSaysWhyNot()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QSize, shown);
        WorkFolder work;
        if (!bytes.isNull())
            work.write(name, bytes);
        ImageViewer viewer(name.isEmpty() ? QString() : work.file(name));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QCOMPARE(viewer.view()->message(), message);
        QCOMPARE(viewer.view()->image().size(), shown);
    }

    // By the keys system.txt names and by swipes, past either end; the arrow it does not name does nothing.
    // Hidden files, folders and other types are passed over, whatever they hold.
    void stepsThroughTheFolderInNameOrder()
    {
        WorkFolder work;
        work.writeSettings({"Key_Left::52", "Key_Right::54", "Hide::0"});
        for (const char* name : {"b.png", "A.jpg", "d.BMP", ".hidden.png", "c.txt"})
            work.write(QString("pictures/") + name, imageBytes("png", QSize(50, 40)));
        work.makeFolder("pictures/folder.png");
        ImageViewer viewer(work.file("pictures/b.png"));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QCOMPARE(viewer.getTitleBarWidget()->text(), "b.png  2 / 3");
        auto swipe = [&](int from, int to) {
            QTest::mousePress(viewer.view(), Qt::LeftButton, {}, QPoint(from, 100));
            QTest::mouseMove(viewer.view(), QPoint((from + to) / 2, 105));
            QTest::mouseRelease(viewer.view(), Qt::LeftButton, {}, QPoint(to, 110));
        };
        QTest::keyClick(&viewer, Qt::Key_6);
        swipe(200, 40);
        QCOMPARE(viewer.getTitleBarWidget()->text(), "A.jpg  1 / 3");
        swipe(40, 200);
        QTest::keyClick(&viewer, Qt::Key_Right);
        QTest::keyClick(&viewer, Qt::Key_4);
        static_cast<UTIL_CST*>(viewer.getCSTWidget())->getMidBtn()->click();
        QCOMPARE(viewer.getTitleBarWidget()->text(), "d.BMP  3 / 3");
    }
};

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
