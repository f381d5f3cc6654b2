#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QFile>
#include <QTest>

namespace {

// A program of the user's list that records the arguments it was started with, one per line.
const QByteArray recorder = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/../args\"\n";

}  // namespace

class ProgramsTest : public QObject
{
    Q_OBJECT
private slots:
    void startsTheProgramWithTheCurrentRow_data();
    void startsTheProgramWithTheCurrentRow();
    void parentRowGivesNoArgument();
    void failedProgramIsReported();
};

void ProgramsTest::startsTheProgramWithTheCurrentRow_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : hostileNames())
        QTest::newRow(qPrintable(name.left(20))) << name;
}

void ProgramsTest::startsTheProgramWithTheCurrentRow()
{
    QFETCH(QString, name);
    WorkFolder work;
    work.write("bin/rec", recorder);
    QFile::setPermissions(work.file("bin/rec"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    work.write("software.txt", "Other::/bin/false\r\nRecord::bin/rec\r\n");
    work.write("mmc/mmca1/" + name.toUtf8(), "x");
    My_Widget window;
    window.fileList()->setCurrentItem(1);
    QCOMPARE(window.fileList()->Istr(), name);
    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    window.sellSelect(window.programId(1));
    QCOMPARE(answers.texts(), (QStringList{"start ?   [Record]", "[Record]"}));
    QCOMPARE(work.read("args"), "-d\n" + name.toUtf8() + "\n");
    QVERIFY(!QFile::exists(work.file("INJECTED")));
    QVERIFY(!QFile::exists(phoneFolders().card + "/INJECTED"));
}

void ProgramsTest::parentRowGivesNoArgument()
{
    WorkFolder work;
    work.write("bin/rec", recorder);
    QFile::setPermissions(work.file("bin/rec"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    work.write("software.txt", ("Tool::" + work.file("bin/rec") + "\r\n").toUtf8());
    My_Widget window;
    QCOMPARE(window.fileList()->Istr(), QString(".."));
    DialogAnswerer answers;
    answers.press("Cancel");
    window.sellSelect(window.programId(0));
    QVERIFY(!QFile::exists(work.file("args")));
    answers.press("Ok").press("Ok");
    window.sellSelect(window.programId(0));
    QCOMPARE(work.read("args"), QByteArray());
    QVERIFY(QFile::exists(work.file("args")));
}

void ProgramsTest::failedProgramIsReported()
{
    WorkFolder work;
    work.write("software.txt", "Broken::/bin/false\r\nMissing::no-such-program\r\n");
    My_Widget window;
    DialogAnswerer answers;
    answers.press("Ok").press("Ok").press("Ok").press("Ok");
    window.sellSelect(window.programId(0));
    window.sellSelect(window.programId(1));
    QCOMPARE(answers.texts().size(), 4);
    QVERIFY(answers.texts().at(1).startsWith("[Broken] failed!"));
    QVERIFY(answers.texts().at(3).startsWith("[Missing] failed!"));
    QVERIFY(answers.unexpected().isEmpty());
}

QTEST_MAIN(ProgramsTest)
#include "tst_programs.moc"
