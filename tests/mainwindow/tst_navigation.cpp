#include "mainwindow/my_widget.h"
#include "platform/popupmenu.h"
#include "mainwindow/my_listbox.h"
#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
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
        work.write("top/note.zzz", "x");
        QStringList settings{"File::" + top};
        if (keys == "handset")
            settings << "Key_Enter::4100" << "Key_Up::4115" << "Key_Down::4117" << "Key_Left::4114" << "Key_Right::4116";
        else if (keys == "one code")
            settings << "Key_Up::4117" << "Key_Down::4117" << "Key_Enter::4117";
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
            const Qt::Key key = number ? QKeySequence(step.mid(QString("+-*").contains(step[0]) ? 1 : 0))[0].key() : Qt::Key(0);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, number ? QString() : "\u00e9", step.startsWith('*'));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, number ? QString() : "\u00e9");
            if (!step.startsWith('-'))
                QApplication::sendEvent(target, &press);
            if (!step.startsWith('+') && !step.startsWith('*'))
                QApplication::sendEvent(target, &release);
        }
    }
};

}  // namespace

class NavigationTest : public QObject
{
    Q_OBJECT
private slots:
    void keysAndTaps_data()
    {
        QTest::addColumn<QString>("setup");   // the key settings ("handset", "none", "one code") and click mode
        QTest::addColumn<QString>("steps");   // as Shown::act takes them
        QTest::addColumn<QString>("row");     // the current row afterwards
        QTest::addColumn<QString>("folder");  // the listed folder, "" for the one above "top"
        QTest::addColumn<QString>("shows");   // "menu" for the context menu, or a box's text
        const auto row = [](const char* name, const char* setup, const char* steps, const char* current,
                            const char* folder, const char* shows = "") {
            QTest::newRow(name) << setup << steps << current << folder << shows;
        };
        row("Up wraps to the last row", "handset 0", "Up", "note.zzz", "top");
        row("a key acts on its press", "handset 0", "+Down -Down Down", "beta", "top");
        row("auto-repeats are ignored", "handset 0", "+Down *Down *Down -Down Down", "beta", "top");
        row("a release without its press does nothing", "handset 0", "-Return Down", "alpha", "top");
        row("Enter opens a folder", "handset 0", "Down Return", "..", "top/alpha");
        row("Left lists the parent", "handset 0", "Down Down Left", "..", "");
        row("Right opens the context menu", "handset 0", "Up Right", "note.zzz", "top", "menu");
        row("but not on the parent row", "handset 0", "Right", "..", "top");
        row("key number 0 is no setting", "none 0", "0", "..", "top");
        row("the first setting of a code wins", "one code 0", "Down", "note.zzz", "top");
        row("single: a tap opens", "handset 0", "tap:alpha", "..", "top/alpha");
        row("double: a tap selects", "handset 1", "tap:alpha", "alpha", "top");
        row("double: two taps open", "handset 1", "tap:alpha tap:alpha", "..", "top/alpha");
        row("double: listing needs a new first tap", "handset 1", "tap:alpha list tap:alpha", "alpha", "top");
        row("double: a long press needs a new first tap", "handset 1", "tap:alpha long:alpha", "alpha", "top");
        row("mixed: a folder at once", "handset 2", "tap:beta", "..", "top/beta");
        row("F1 opens the main menu", "handset 0", "F1", "..", "top", "main menu");
        row("so does the Menu key", "handset 0", "Menu", "..", "top", "main menu");
        row("a window on top takes the keys, Escape closes it", "handset 0", "open:buttons Left Up Escape Down", "alpha", "top");
        row("so do F3, Back and the handset's right soft key", "handset 0",
            "open:buttons F3 open:setup Back open:buttons Context3 Up", "note.zzz", "top");
        row("mixed: a second tap opens a file", "handset 2", "tap:note.zzz tap:note.zzz", "note.zzz", "top",
            "No associate programm");
    }
    void keysAndTaps()
    {
        QFETCH(QString, setup);
        QFETCH(QString, steps);
        QFETCH(QString, row);
        QFETCH(QString, folder);
        QFETCH(QString, shows);
        Shown shown(setup.section(' ', 0, -2), setup.section(' ', -1));
        DialogAnswerer answers;
        for (const QString& step : steps.split(' '))
            shown.act(step);
        QCOMPARE(shown.window->fileList()->Istr(), row);
        QCOMPARE(shown.window->currentFolder().absolutePath(), folder.isEmpty() ? shown.work.path() : shown.work.file(folder));
        QCOMPARE(shown.window->contextMenu()->isVisible(), shows == "menu");
        QCOMPARE(shown.window->mainMenu()->isVisible(), shows == "main menu");
        QCOMPARE(answers.texts(), shows.isEmpty() || shows.endsWith("menu") ? QStringList() : QStringList(shows));
        shown.window->contextMenu()->close();
        shown.window->mainMenu()->close();
        // The items that need a file or an entry follow the row (an opened file's wait for the next move).
        const bool isFile = row.contains('.') && row != "..";
        const My_Widget::MenuIds& ids = shown.window->ids();
        QCOMPARE(shown.window->actionMenu()->isItemEnabled(ids.extract), isFile && answers.texts().isEmpty());
        QCOMPARE(shown.window->contextMenu()->isItemEnabled(ids.openText), isFile && answers.texts().isEmpty());
        QCOMPARE(shown.window->actionMenu()->isItemEnabled(ids.del), row != ".." && answers.texts().isEmpty());
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
