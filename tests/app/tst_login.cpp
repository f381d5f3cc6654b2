#include "app/login.h"
#include "app/my_widget.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <memory>

class LoginTest : public QObject
{
    Q_OBJECT

private slots:
    void passwordDecidesTheStart_data();
    void passwordDecidesTheStart();
    void noPasswordNoPrompt();
    void entryIsMasked();
};

void LoginTest::passwordDecidesTheStart_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("starts");
    const QStringList secret = {"PassWord::Secret"};
    QTest::newRow("right password") << secret << "Secret" << "Ok" << true;
    QTest::newRow("letter case differs") << secret << "secret" << "Ok" << false;
    QTest::newRow("extra trailing space") << secret << "Secret " << "Ok" << false;
    QTest::newRow("a prefix of it") << secret << "Secr" << "Ok" << false;
    QTest::newRow("empty entry") << secret << "" << "Ok" << false;
    QTest::newRow("cancelled with the right password") << secret << "Secret" << "Cancel" << false;
    const QString accented = "Gr\u00fcn \u65e5\u672c";
    QTest::newRow("non-ASCII password") << QStringList{"PassWord::" + accented} << accented << "Ok" << true;
    QTest::newRow("non-ASCII password, other text")
        << QStringList{"PassWord::" + accented} << "Gr\u00fcn \u65e5" << "Ok" << false;
    const QStringList two = {"Hide::0", "PassWord::first", "click::1", "PassWord::second"};
    QTest::newRow("first of two password lines") << two << "first" << "Ok" << true;
    QTest::newRow("second of two password lines") << two << "second" << "Ok" << true;
    QTest::newRow("neither of two password lines") << two << "third" << "Ok" << false;
}

// A failed prompt ends the start before any window is shown.
void LoginTest::passwordDecidesTheStart()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(bool, starts);
    WorkFolder work;
    work.writeSettings(stored);
    DialogAnswerer answers;
    answers.type(typed, button);
    auto window = std::make_unique<My_Widget>(nullptr);
    QVERIFY(answers.finished());
    QCOMPARE(answers.texts(), QStringList({"password:"}));
    QCOMPARE(window->startedUp(), starts);
    if (!starts) {
        QVERIFY(!window->isVisible());
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY2(!top->isVisible(), qPrintable(top->metaObject()->className()));
    }
}

void LoginTest::noPasswordNoPrompt()
{
    WorkFolder work;
    work.writeSettings({"Hide::0", "PassWord::"});
    DialogAnswerer answers;
    My_Widget window(nullptr);
    QVERIFY(window.startedUp());
    QVERIFY(answers.texts().isEmpty());
}

void LoginTest::entryIsMasked()
{
    WorkFolder work;
    work.writeSettings({"PassWord::Secret"});
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        QLineEdit* field = dialog->findChild<QLineEdit*>();
        QVERIFY(field);
        echo = field->echoMode();
        QTest::keyClicks(field, "Secret");
        QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(F_Login::getDirectory(), QString("1"));
    QCOMPARE(echo, QLineEdit::Password);
}

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
