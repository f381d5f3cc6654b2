#include "core/filetypes.h"

#include <QTest>

class FileTypesTest : public QObject
{
    Q_OBJECT
private slots:
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
};

QTEST_APPLESS_MAIN(FileTypesTest)
#include "tst_filetypes.moc"
