#include "app/my_widget.h"
#include "app/platform/popupmenu.h"
#include "browser/my_listbox.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <memory>

namespace {

// The handset's keys as the button setup records them.
const QStringList handsetKeys = {"Key_Enter::4100", "Key_Up::4115", "Key_Down::4117",
                                 "Key_Left::4114", "Key_Right::4116"};

}  // namespace

class NavigationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WorkFolder> work;
    std::unique_ptr<My_Widget> window;
    QString top;

    // A folder of two subfolders and a file, listed as "..", "alpha", "beta", "note.zzz".
    void start(const QStringList& settings, const QString& click = "0")
    {
        window.reset();
        work = std::make_unique<WorkFolder>();
        top = work->makeFolder("top");
        work->makeFolder("top/alpha/inner");
        work->makeFolder("top/beta");
        work->write("top/note.zzz", "x");
        work->writeSettings(QStringList(settings) << "File::" + top << "click::" + click);
        window = std::make_unique<My_Widget>(nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        window->fileList()->setFocus();
        QCOMPARE(rows(), QStringList({"..", "alpha", "beta", "note.zzz"}));
    }

    QStringList rows() const { return window->fileList()->names(); }
    int row() const { return window->fileList()->currentItem(); }
    QString shown() const { return window->currentFolder().absolutePath(); }

    // Where the window's key events arrive: its focused child, else the window itself.
    QWidget* keyTarget() const
    {
        QWidget* focused = QApplication::focusWidget();
        return focused && focused->window() == window.get() ? focused : window.get();
    }

    void press(Qt::Key key) { QTest::keyPress(keyTarget(), key); }
    void release(Qt::Key key) { QTest::keyRelease(keyTarget(), key); }
    void key(Qt::Key key)
    {
        press(key);
        release(key);
    }

    void tap(const QString& name)
    {
        const int at = rows().indexOf(name);
        QVERIFY2(at >= 0, qPrintable(name));
        UTIL_ListBox* list = window->fileList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(at).center());
    }

    void moveTo(const QString& name)
    {
        for (int i = 0; i < rows().size() && window->fileList()->Istr() != name; ++i)
            key(Qt::Key_Down);
        QCOMPARE(window->fileList()->Istr(), name);
    }

private slots:
    void cleanup()
    {
        window.reset();
        work.reset();
    }

    void upAndDownWrapAround_data();
    void upAndDownWrapAround();
    void leftAndEnterOnParentRowListTheParent_data();
    void leftAndEnterOnParentRowListTheParent();
    void enterOpensAFolderRow();
    void rightOpensTheContextMenuExceptOnParentRow();
    void pressActsOnceAndReleaseIsConsumed();
    void autoRepeatIsIgnored();
    void unknownKeysAreConsumed_data();
    void unknownKeysAreConsumed();
    void earlierSettingWinsOnTheSameCode();
    void releaseWithoutItsPressDoesNotShiftTheKeys();
    void tapsInEachClickMode_data();
    void tapsInEachClickMode();
    void fileOpensOnSecondTapInMixedMode();
    void listingNeedsANewFirstTap();
    void longPressNeedsANewFirstTap();
    void menuItemsFollowTheCurrentRow_data();
    void menuItemsFollowTheCurrentRow();
};

void NavigationTest::upAndDownWrapAround_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("up from the first row to the last") << 0 << int(Qt::Key_Up) << 3;
    QTest::newRow("down from the last row to the first") << 3 << int(Qt::Key_Down) << 0;
    QTest::newRow("up") << 2 << int(Qt::Key_Up) << 1;
    QTest::newRow("down") << 1 << int(Qt::Key_Down) << 2;
}

void NavigationTest::upAndDownWrapAround()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    start(handsetKeys);
    window->fileList()->setCurrentItem(from);
    this->key(Qt::Key(key));
    QCOMPARE(row(), to);
    QCOMPARE(shown(), top);
}

void NavigationTest::leftAndEnterOnParentRowListTheParent_data()
{
    QTest::addColumn<QString>("onRow");
    QTest::addColumn<int>("key");
    QTest::newRow("left on a row") << "beta" << int(Qt::Key_Left);
    QTest::newRow("left on the parent row") << ".." << int(Qt::Key_Left);
    QTest::newRow("enter on the parent row") << ".." << int(Qt::Key_Return);
}

void NavigationTest::leftAndEnterOnParentRowListTheParent()
{
    QFETCH(QString, onRow);
    QFETCH(int, key);
    start(handsetKeys);
    moveTo(onRow);
    this->key(Qt::Key(key));
    QCOMPARE(shown(), work->path());
    QVERIFY(rows().contains("top"));
}

void NavigationTest::enterOpensAFolderRow()
{
    start(handsetKeys);
    moveTo("alpha");
    key(Qt::Key_Return);
    QCOMPARE(shown(), top + "/alpha");
    QCOMPARE(rows(), QStringList({"..", "inner"}));
    QCOMPARE(row(), 0);
}

void NavigationTest::rightOpensTheContextMenuExceptOnParentRow()
{
    start(handsetKeys);
    PopupMenu* menu = window->contextMenu();
    key(Qt::Key_Right);
    QVERIFY(!menu->isVisible());

    moveTo("note.zzz");
    press(Qt::Key_Right);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(120, 50));
    // Opening the menu brings its items up to date for the row.
    QVERIFY(menu->isItemEnabled(window->ids().openText));
    QTest::keyRelease(menu, Qt::Key_Right);
    QTest::keyClick(menu, Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    QCOMPARE(shown(), top);
}

void NavigationTest::pressActsOnceAndReleaseIsConsumed()
{
    start(handsetKeys);
    press(Qt::Key_Down);
    QCOMPARE(row(), 1);
    release(Qt::Key_Down);
    QCOMPARE(row(), 1);
    key(Qt::Key_Down);
    QCOMPARE(row(), 2);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Up);
    QCOMPARE(row(), 3);
    key(Qt::Key_Down);
    QCOMPARE(row(), 0);
}

// Holding a key delivers more presses; they neither move the row nor shift later keys.
void NavigationTest::autoRepeatIsIgnored()
{
    start(handsetKeys);
    press(Qt::Key_Down);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(keyTarget(), &repeat);
    }
    release(Qt::Key_Down);
    QCOMPARE(row(), 1);
    key(Qt::Key_Down);
    QCOMPARE(row(), 2);
}

void NavigationTest::unknownKeysAreConsumed_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("page down") << handsetKeys << int(Qt::Key_PageDown) << QString();
    QTest::newRow("a letter") << handsetKeys << int(Qt::Key_X) << QString("x");
    QTest::newRow("down without key settings") << QStringList() << int(Qt::Key_Down) << QString();
    // Unset key settings read as 0; a key event without a key number is not one of them.
    QTest::newRow("no key number without key settings") << QStringList() << 0 << QString("\u00e9");
}

void NavigationTest::unknownKeysAreConsumed()
{
    QFETCH(QStringList, settings);
    QFETCH(int, key);
    QFETCH(QString, text);
    start(settings);
    window->fileList()->setCurrentItem(1);
    QTest::sendKeyEvent(QTest::Press, keyTarget(), Qt::Key(key), text, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, keyTarget(), Qt::Key(key), text, Qt::NoModifier);
    // Had the list seen the key, page down or down would have moved it.
    QCOMPARE(row(), 1);
    QCOMPARE(shown(), top);
}

void NavigationTest::earlierSettingWinsOnTheSameCode()
{
    start({"Key_Up::4117", "Key_Down::4117", "Key_Enter::4117"});
    key(Qt::Key_Down);
    QCOMPARE(row(), 3);
    QCOMPARE(shown(), top);
}

// The Right key opens the menu on its press; the release goes to the menu.
void NavigationTest::releaseWithoutItsPressDoesNotShiftTheKeys()
{
    start(handsetKeys);
    moveTo("alpha");
    press(Qt::Key_Right);
    PopupMenu* menu = window->contextMenu();
    QVERIFY(menu->isVisible());
    QTest::keyRelease(menu, Qt::Key_Right);
    menu->close();
    press(Qt::Key_Down);
    QCOMPARE(window->fileList()->Istr(), QString("beta"));
    release(Qt::Key_Down);
    QCOMPARE(window->fileList()->Istr(), QString("beta"));

    // A release that arrives after its press closed a message box does nothing.
    release(Qt::Key_Return);
    QCOMPARE(shown(), top);
    press(Qt::Key_Down);
    QCOMPARE(window->fileList()->Istr(), QString("note.zzz"));
    release(Qt::Key_Down);
}

void NavigationTest::tapsInEachClickMode_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<QStringList>("taps");
    QTest::addColumn<QString>("opened");
    QTest::newRow("single: one tap opens") << "0" << QStringList{"alpha"} << "alpha";
    QTest::newRow("single when unset") << "" << QStringList{"beta"} << "beta";
    QTest::newRow("double: one tap selects") << "1" << QStringList{"alpha"} << "";
    QTest::newRow("double: two taps open") << "1" << QStringList{"alpha", "alpha"} << "alpha";
    QTest::newRow("double: the row of the last first tap opens")
        << "1" << QStringList{"alpha", "beta", "beta"} << "beta";
    QTest::newRow("double: taps on two rows open nothing") << "1" << QStringList{"alpha", "beta"} << "";
    QTest::newRow("mixed: a folder opens at once") << "2" << QStringList{"beta"} << "beta";
    QTest::newRow("mixed: a file is only selected") << "2" << QStringList{"note.zzz"} << "";
    QTest::newRow("single: parent row") << "0" << QStringList{".."} << "..";
    QTest::newRow("double: parent row opens at once") << "1" << QStringList{".."} << "..";
    QTest::newRow("mixed: parent row opens at once") << "2" << QStringList{".."} << "..";
}

void NavigationTest::tapsInEachClickMode()
{
    QFETCH(QString, click);
    QFETCH(QStringList, taps);
    QFETCH(QString, opened);
    start(handsetKeys, click);
    for (const QString& name : taps)
        tap(name);
    const QString expected = opened.isEmpty() ? top : opened == ".." ? work->path() : top + "/" + opened;
    QCOMPARE(shown(), expected);
}

void NavigationTest::fileOpensOnSecondTapInMixedMode()
{
    start(handsetKeys, "2");
    DialogAnswerer answers;
    tap("note.zzz");
    QCOMPARE(window->fileList()->Istr(), QString("note.zzz"));
    QVERIFY(window->actionMenu()->isItemEnabled(window->ids().copy));
    QVERIFY(answers.texts().isEmpty());
    tap("note.zzz");
    QVERIFY2(answers.texts().join('\n').contains("No associate programm"),
             qPrintable(answers.texts().join('\n')));
    QCOMPARE(shown(), top);
}

void NavigationTest::listingNeedsANewFirstTap()
{
    start(handsetKeys, "1");
    tap("alpha");
    window->qListBox(top);
    tap("alpha");
    QCOMPARE(shown(), top);
    tap("alpha");
    QCOMPARE(shown(), top + "/alpha");
}

void NavigationTest::longPressNeedsANewFirstTap()
{
    start(handsetKeys, "1");
    tap("alpha");
    UTIL_ListBox* list = window->fileList();
    const QPoint at = list->itemRect(rows().indexOf("alpha")).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(window->longPressTimer()->isActive());
    for (int tick = 0; tick < 16; ++tick)
        window->qtime();
    PopupMenu* menu = window->contextMenu();
    QVERIFY(menu->isVisible());
    menu->close();
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(shown(), top);
    tap("beta");
    tap("alpha");
    QCOMPARE(shown(), top);
    tap("alpha");
    QCOMPARE(shown(), top + "/alpha");
}

void NavigationTest::menuItemsFollowTheCurrentRow_data()
{
    QTest::addColumn<QString>("onRow");
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("entry");
    QTest::newRow("file row") << "note.zzz" << true << true;
    QTest::newRow("folder row") << "beta" << false << true;
    QTest::newRow("parent row") << ".." << false << false;
}

void NavigationTest::menuItemsFollowTheCurrentRow()
{
    QFETCH(QString, onRow);
    QFETCH(bool, file);
    QFETCH(bool, entry);
    start(handsetKeys);
    // Arrive from the other rows, so every state has been set another way before.
    moveTo("note.zzz");
    key(Qt::Key_Down);
    moveTo("alpha");
    if (onRow == "..")
        key(Qt::Key_Up);
    else
        moveTo(onRow);
    const My_Widget::MenuIds& ids = window->ids();
    QCOMPARE(window->mainMenu()->isItemEnabled(ids.extractMain), file);
    QCOMPARE(window->actionMenu()->isItemEnabled(ids.extract), file);
    QCOMPARE(window->contextMenu()->isItemEnabled(ids.openText), file);
    QCOMPARE(window->contextMenu()->isItemEnabled(ids.openIn), file);
    for (int item : {ids.newTar, ids.newMtf, ids.newMpkg, ids.copy, ids.move, ids.del, ids.rename})
        QCOMPARE(window->actionMenu()->isItemEnabled(item), entry);
    QVERIFY(window->actionMenu()->isItemEnabled(ids.newFolder));
    for (int item : {ids.ctxCopy, ids.ctxMove, ids.ctxCompres, ids.ctxRename, ids.ctxDelete, ids.info})
        QVERIFY(window->contextMenu()->isItemEnabled(item));
}

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
