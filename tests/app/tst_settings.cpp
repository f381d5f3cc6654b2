#include "app/settings.h"
#include "app/text.h"
#include "workfolder.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheFirstMatchingLine_data();
    void readsTheFirstMatchingLine();
    void rewritesEveryMatchingLine_data();
    void rewritesEveryMatchingLine();
    void keepsValuesAsUtf8Bytes();
    void missingFileReadsEmptyAndStaysMissing();
    void failedRewriteLeavesTheOldFile();
};

void SettingsTest::readsTheFirstMatchingLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("second line") << QByteArray("Hide::1\r\nTaxis::2\r\n") << "Taxis" << "2";
    QTest::newRow("keys are case-sensitive") << QByteArray("Hide::1\r\nTaxis::2\r\n") << "taxis" << "";
    QTest::newRow("empty value") << QByteArray("Taxis::\r\n") << "Taxis" << "";
    QTest::newRow("key alone") << QByteArray("Taxis\n") << "Taxis" << "";
    QTest::newRow("value cut at the next separator") << QByteArray("File::/mmc/mmca1/a::b\n") << "File"
                                                     << "/mmc/mmca1/a";
    QTest::newRow("leading separators ignored") << QByteArray("::Hide::1\n") << "Hide" << "1";
    QTest::newRow("first of two lines") << QByteArray("click::1\nclick::2\n") << "click" << "1";
    QTest::newRow("carriage return not part of the value") << QByteArray("window::1\r\n") << "window" << "1";
    QTest::newRow("last line without an end") << QByteArray("Hide::0\nwindow::1") << "window" << "1";
    QTest::newRow("blank in the key counts") << QByteArray("Hide ::1\n") << "Hide" << "";
    QTest::newRow("absent key") << QByteArray("Hide::1\n") << "Key_A" << "";
}

void SettingsTest::readsTheFirstMatchingLine()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, value);
    WorkFolder work;
    work.write("system.txt", file);
    const QString read = iniRead(key);
    QCOMPARE(read, value);
    QVERIFY(!read.isNull());
}

void SettingsTest::rewritesEveryMatchingLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("line ends become CRLF") << QByteArray("Hide::0\nwindow::0\nclick::2\n") << "window" << "1"
                                           << QByteArray("Hide::0\r\nwindow::1\r\nclick::2\r\n");
    QTest::newRow("absent key adds nothing") << QByteArray("Hide::0\r\n") << "Key_A" << "65"
                                             << QByteArray("Hide::0\r\n");
    QTest::newRow("third piece dropped") << QByteArray("File::/mmc/mmca1/a::b\r\n") << "File" << "/x"
                                         << QByteArray("File::/x\r\n");
    QTest::newRow("both lines rewritten") << QByteArray("click::1\r\nclick::2\r\n") << "click" << "0"
                                          << QByteArray("click::0\r\nclick::0\r\n");
    QTest::newRow("leading separator dropped") << QByteArray("::Hide::1\r\n") << "Hide" << "0"
                                               << QByteArray("Hide::0\r\n");
    QTest::newRow("empty lines kept") << QByteArray("Hide::1\r\n\r\nTaxis::0\r\n") << "Taxis" << "2"
                                      << QByteArray("Hide::1\r\n\r\nTaxis::2\r\n");
    QTest::newRow("other lines keep their bytes")
        << QByteArray("File::/caf\xc3\xa9\r\nHide::0\r\n") << "Hide" << "1"
        << QByteArray("File::/caf\xc3\xa9\r\nHide::1\r\n");
}

void SettingsTest::rewritesEveryMatchingLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    WorkFolder work;
    work.write("system.txt", before);
    iniWrite(key, value);
    QCOMPARE(work.read("system.txt"), after);
}

void SettingsTest::keepsValuesAsUtf8Bytes()
{
    WorkFolder work;
    work.write("system.txt", "PassWord::\r\n");
    iniWrite("PassWord", QString::fromUtf8("caf\xc3\xa9"));
    QCOMPARE(work.read("system.txt"), QByteArray("PassWord::caf\xc3\xa9\r\n"));
    QCOMPARE(fromStoredBytes(iniRead("PassWord")), QString::fromUtf8("caf\xc3\xa9"));
}

void SettingsTest::missingFileReadsEmptyAndStaysMissing()
{
    WorkFolder work;
    QCOMPARE(iniRead("Hide"), QString(""));
    iniWrite("Hide", "1");
    QVERIFY(!QFile::exists(work.file("system.txt")));
    work.write("system.txt", "");
    iniWrite("Hide", "1");
    QCOMPARE(work.read("system.txt"), QByteArray());
}

// A write cut short (here by a file size limit, as a full card would) keeps the old file whole.
void SettingsTest::failedRewriteLeavesTheOldFile()
{
    WorkFolder work;
    const QByteArray old = "File::/mmc/mmca1/some/long/folder/name\r\nHide::0\r\n";
    work.write("system.txt", old);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 8;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = iniWriteFile(work.file("system.txt"), "File", "/mmc/mmca1/another/long/name");
    setrlimit(RLIMIT_FSIZE, &previous);
    QVERIFY(!written);
    QCOMPARE(work.read("system.txt"), old);
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{"system.txt"});
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
