#include "mainwindow/my_widget.h"
#include "platform/popupmenu.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTest>

#include <memory>

namespace {

// A shown window listing "top": "..", "alpha" (with a folder inside), "beta", "note.zzz".
struct Shown {
    WorkFolder work;
    QString top = work.makeFolder("top");
    std::unique_ptr<My_Widget> window;

    Shown(const QString& keys, const QString& click)
    {
        work.makeFolder("top/alpha/inner");
        work.makeFolder("top/beta");
        work.write("top/note.zzz", "\x01");  // not text: no program opens it
        QStringList settings{"File::" + top};
        if (keys == "handset")
            settings += {"Key_Enter::4100", "Key_Up::4115", "Key_Down::4117", "Key_Left::4114", "Key_Right::4116"};
        else if (keys == "one code")
            settings += {"Key_Up::4117", "Key_Down::4117", "Key_Enter::4117"};
        settings << "click::" + click;
        work.writeSettings(settings);
        window = std::make_unique<My_Widget>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        window->fileList()->setFocus();
    }

    // A user's keys come once the keyboard has settled on a shown window (one other than notOn).
    static bool keyboardSettled(const QWidget* notOn)
    {
        return QTest::qWaitFor([notOn] {
            const QWidget* active = QApplication::activeWindow();
            return active && active->isVisible() && active != notOn;
        });
    }

    // "Down" presses and releases a key, "+Down" only presses it, "-Down" only releases it,
    // "*Down" is an auto-repeated press, "0" a key without a number; "tap:NAME" and
    // "long:NAME" touch a row, "list" lists the folder again, "open:buttons" and "open:setup" open
    // Button setup and General setup on top. Keys go where the keyboard is.
    void act(const QString& step)
    {
        My_ListBox* list = window->fileList();
        const QPoint row = list->itemRect(int(list->names().indexOf(step.section(':', 1)))).center();
        if (step.startsWith("tap:")) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        } else if (step.startsWith("long:")) {
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
            for (int tick = 0; tick < 15; ++tick)
                window->qtime();
            QVERIFY(!window->contextMenu()->isVisible());
            window->qtime();  // the timer's ticks, driven by hand: the menu opens on the sixteenth
            QVERIFY(window->contextMenu()->isVisible());
            window->contextMenu()->close();
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row);
        } else if (step == "list") {
            window->qListBox(top);
        } else if (step.startsWith("open:")) {
            window->menuSelect(step == "open:setup" ? window->ids().generalSetup : window->ids().buttonSetup);
            QVERIFY(keyboardSettled(window.get()));
        } else {
            QVERIFY(keyboardSettled(nullptr));
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
            const bool number = step != "0";
            const QString name = step.mid(QString("+-*").contains(step[0]) ? 1 : 0);
            const Qt::Key key = number ? QKeySequence(name)[0].key() : Qt::Key(0);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, number ? QString() : "\u00e9", step.startsWith('*'));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, number ? QString() : "\u00e9");
            if (!step.startsWith('-'))
                QApplication::sendEvent(target, &press);
            if (!step.startsWith('+') && !step.startsWith('*'))
                QApplication::sendEvent(target, &release);
        }
    }
};

// The key settings ("handset", "none", "one code") and click mode; the steps as Shown::act takes them;
// the current row and the listed folder afterwards; "menu" for the context menu, or a box's text.
struct Walk
{
    QString setup, steps, row, folder, shows = {};
};

}  // namespace

Q_DECLARE_METATYPE(Walk)

class NavigationTest : public QObject
{
    Q_OBJECT
private slots:
    void keysAndTaps_data()
    {
        QTest::addColumn<Walk>("walk");
        QTest::newRow("Up wraps to the last row") << Walk{"handset 0", "Up", "note.zzz", "top"};
        QTest::newRow("a key acts on its press") << Walk{"handset 0", "+Down -Down Down", "beta", "top"};
        QTest::newRow("auto-repeats are ignored") << Walk{"handset 0", "+Down *Down *Down -Down Down", "beta", "top"};
        QTest::newRow("a release without its press does nothing") << Walk{"handset 0", "-Return Down", "alpha", "top"};
        QTest::newRow("Enter opens a folder") << Walk{"handset 0", "Down Return", "..", "top/alpha"};
        QTest::newRow("Left lists the parent") << Walk{"handset 0", "Down Down Left", "..", "top/.."};
        QTest::newRow("Right opens the context menu") << Walk{"handset 0", "Up Right", "note.zzz", "top", "menu"};
        QTest::newRow("but not on the parent row") << Walk{"handset 0", "Right", "..", "top"};
        QTest::newRow("key number 0 is no setting") << Walk{"none 0", "0", "..", "top"};
        QTest::newRow("the first setting of a code wins") << Walk{"one code 0", "Down", "note.zzz", "top"};
        QTest::newRow("single: a tap opens") << Walk{"handset 0", "tap:alpha", "..", "top/alpha"};
        QTest::newRow("double: a tap selects") << Walk{"handset 1", "tap:alpha", "alpha", "top"};
        QTest::newRow("double: two taps open") << Walk{"handset 1", "tap:alpha tap:alpha", "..", "top/alpha"};
        QTest::newRow("double: listing needs a new first tap")
            << Walk{"handset 1", "tap:alpha list tap:alpha", "alpha", "top"};
        QTest::newRow("double: a long press needs a new first tap")
            << Walk{"handset 1", "tap:alpha long:alpha", "alpha", "top"};
        QTest::newRow("mixed: a folder at once") << Walk{"handset 2", "tap:beta", "..", "top/beta"};
        QTest::newRow("F1 opens the main menu") << Walk{"handset 0", "F1", "..", "top", "main menu"};
        QTest::newRow("so does the Menu key") << Walk{"handset 0", "Menu", "..", "top", "main menu"};
        QTest::newRow("a window on top takes the keys, Escape closes it")
            << Walk{"handset 0", "open:buttons Left Up Escape Down", "alpha", "top"};
        QTest::newRow("so do F3, Back and the handset's right soft key")
            << Walk{"handset 0", "open:buttons F3 open:setup Back open:buttons Context3 Up", "note.zzz", "top"};
        QTest::newRow("mixed: a second tap opens a file")
            << Walk{"handset 2", "tap:note.zzz tap:note.zzz", "note.zzz", "top", "No associate programm"};
    }
    void keysAndTaps()
    {
        QFETCH(Walk, walk);
        Shown shown(walk.setup.section(' ', 0, -2), walk.setup.section(' ', -1));
        DialogAnswerer answers;
        for (const QString& step : walk.steps.split(' '))
            shown.act(step);
        My_Widget& window = *shown.window;
        QCOMPARE(window.fileList()->Istr(), walk.row);
        QCOMPARE(window.currentFolder().absolutePath(), QDir::cleanPath(shown.work.file(walk.folder)));
        QCOMPARE(window.contextMenu()->isVisible(), walk.shows == "menu");
        QCOMPARE(window.mainMenu()->isVisible(), walk.shows == "main menu");
        const bool box = !walk.shows.isEmpty() && !walk.shows.endsWith("menu");
        QCOMPARE(answers.texts(), box ? QStringList(walk.shows) : QStringList());
        window.contextMenu()->close();
        window.mainMenu()->close();
        // The items that need a file or an entry follow the row (an opened file's wait for the next move).
        const bool isFile = walk.row.contains('.') && walk.row != "..";
        QCOMPARE(window.actionMenu()->isItemEnabled(window.ids().extract), isFile && !box);
        QCOMPARE(window.contextMenu()->isItemEnabled(window.ids().openText), isFile && !box);
        QCOMPARE(window.actionMenu()->isItemEnabled(window.ids().del), walk.row != ".." && !box);
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
