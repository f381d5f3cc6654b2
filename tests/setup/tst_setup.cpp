#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "dialogs.h"
#include "setup/my_widget_f4.h"
#include "setup/setup_widget.h"
#include "workfolder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTest>

namespace {

const QString notSaved = "\nsystem.txt has no line for it or cannot be written";
const QByteArray stored = "Taxis::2\r\nHide::1\r\nclick::x\r\nwindow::1\r\nPassWord::caf\xc3\xa9\r\n";

// "Up" is a press and its release; "+Up", "*Up" and "-Up" a press, an auto-repeat and a release alone.
void sendKeys(QWidget& window, const QString& steps)
{
    for (const QString& step : steps.split(' ')) {
        const bool single = QString("+*-").contains(step[0]);
        const int key = QKeySequence::fromString(step.mid(single ? 1 : 0))[0].key();
        for (const QChar kind : single ? step.left(1) : QString("+-")) {
            QKeyEvent event(kind == '-' ? QEvent::KeyRelease : QEvent::KeyPress, key, {}, {}, kind == '*');
            QApplication::sendEvent(&window, &event);
        }
    }
}

}  // namespace

class SetupTest : public QObject
{
    Q_OBJECT
private slots:
    // Saving without a change writes back what the window chose from the file.
    void generalSetupSaves_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("typed");  // null: the password as shown
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("message");
        QTest::newRow("stored values, click no number") << stored + "File::/a\n" << QString()
            << QByteArray(stored).replace("click::x", "click::0") + "File::/a\r\n" << "saved pleas restart to apply";
        QTest::newRow("beyond the lists, click missing, new password")
            << QByteArray("window::2\nTaxis::-1\nHide::\nPassWord::\n") << "n€w"
            << QByteArray("window::0\r\nTaxis::0\r\nHide::0\r\nPassWord::n\xe2\x82\xacw\r\n") << "Not saved: Open in (click)" + notSaved;
    }

    void generalSetupSaves()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, typed);
        QFETCH(QByteArray, after);
        QFETCH(QString, message);
        WorkFolder work;
        work.write("system.txt", before);
        SetupWidget window(nullptr);
        window.show();
        DialogAnswerer answers;
        answers.press("Ok");
        if (!typed.isNull())
            window.findChild<ZMultiLineEdit*>()->setText(typed);
        window.findChild<UTIL_CST*>()->getMidBtn()->click();
        QCOMPARE(answers.texts(), QStringList{message});
        QCOMPARE(work.read("system.txt"), after);
        QVERIFY(!window.isVisible());
    }

    // Lone releases and auto-repeats record nothing; "Key_D", which the file lacks, is named as not
    // saved. A key after the last one starts again without writing.
    void buttonSetupRecordsEachPressOnce()
    {
        WorkFolder work;
        work.writeSettings(
            {"Key_Up::", "Key_Down::", "Key_Left::", "Key_Right::", "Key_Enter::", "Key_A::", "Key_B::", "Key_C::"});
        My_Widget_F4 window(nullptr);
        DialogAnswerer answers;
        answers.press("Ok");
        sendKeys(window, "-Return +Up *Up *Up -Up Down Left Right Enter A B Call F5");
        const QByteArray recorded = work.read("system.txt");
        QCOMPARE(recorded, "Key_Up::4115\r\nKey_Down::4117\r\nKey_Left::4114\r\nKey_Right::4116\r\nKey_Enter::4101\r\n"
                           "Key_A::65\r\nKey_B::66\r\nKey_C::4356\r\n");
        QCOMPARE(answers.texts(), QStringList{"Not saved: [D] (Key_D)" + notSaved});
        sendKeys(window, "C");
        QCOMPARE(window.findChild<QLabel*>("main_label")->text(), " press button [UP]");
        QCOMPARE(work.read("system.txt"), recorded);
    }
};

QTEST_MAIN(SetupTest)
#include "tst_setup.moc"
