#include "mainwindow/my_widget.h"
#include "core/paths.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "picker/folder_picker.h"
#include "workfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

// Seeded random keys and taps on the real windows over a tree of hostile names: nothing
// crashes, no window stops answering for five seconds, and nothing outside the tree changes.
// KESTREL_RANDOM_SEED replays a run; KESTREL_RANDOM_EVENTS sets its length (20,000).
class RandomUseTest : public QObject
{
    Q_OBJECT
private slots:
    void randomUse()
    {
        WorkFolder work;  // no program to start in the background: Edit, Img and the lists are absent
        const QString tree = work.makeFolder("mmc/mmca1/a/b/c/d/e/tree"), sibling = work.makeFolder("sibling");
        for (const QString& name : hostileNames()) {
            work.write("mmc/mmca1/a/b/c/d/e/tree/" + name + "/" + name, name.toUtf8());
            work.write("sibling/" + name, name.toUtf8());
        }
        const TreeListing outside = treeListing(sibling);
        work.writeSettings({"File::" + tree, "Key_Enter::4100", "Key_Up::4115", "Key_Down::4117", "Key_Left::4114",
                            "Key_Right::4116", "click::0"});
        const quint32 seed = qEnvironmentVariableIsSet("KESTREL_RANDOM_SEED") ? quint32(qEnvironmentVariableIntValue("KESTREL_RANDOM_SEED"))
                                                                              : QRandomGenerator::system()->generate();
        qInfo("seed %u: KESTREL_RANDOM_SEED=%u replays this run", seed, seed);
        QRandomGenerator random(seed);
        int remaining = qEnvironmentVariableIsSet("KESTREL_RANDOM_EVENTS") ? qEnvironmentVariableIntValue("KESTREL_RANDOM_EVENTS") : 20000;
        My_Widget window;
        QStringList stalls;
        QElapsedTimer sinceEvent;
        sinceEvent.start();
        // One event a step; the next is due before this one acts, so that it comes also in the loop
        // of a dialog this one opens. A step that comes late is a stall.
        std::function<void()> step = [&] {
            if (sinceEvent.restart() > 5000)
                stalls << QString("event %1").arg(remaining);
            QWidget* popup = QApplication::activePopupWidget();  // a menu: answered like a dialog
            QWidget* dialog = popup ? popup : QApplication::activeModalWidget();
            QTimer::singleShot(0, &window, step);  // also after the last event: a report may still come
            if (--remaining < 0 && !dialog)
                return;
            if (!window.isVisible())
                window.show();  // the Exit key closed it: the user starts it again
            if (!dialog && !isInside(window.currentFolder().absolutePath(), tree))
                window.qListBox(tree);  // the user stays in the tree
            const QList<QAbstractButton*> buttons = dialog ? dialog->findChildren<QAbstractButton*>() : QList<QAbstractButton*>();
            if (DirectoryView* picker = dialog ? dialog->findChild<DirectoryView*>() : nullptr) {
                picker->setDir(tree);  // the folder picker chooses in the tree only
                DialogAnswerer::pressButton(dialog, random.bounded(2) ? "Select" : "Cancel");
            } else if (dialog && remaining < 0) {
                dialog->close();
            } else if (dialog && random.bounded(3) == 0 && !buttons.isEmpty()) {
                buttons.at(random.bounded(int(buttons.size())))->click();
            } else {
                QWidget* target = dialog ? dialog : QApplication::activeWindow() ? QApplication::activeWindow() : &window;
                if (random.bounded(4) == 0) {
                    const QPoint point(random.bounded(qMax(1, target->width())), random.bounded(qMax(1, target->height())));
                    QWidget* under = target->childAt(point) ? target->childAt(point) : target;
                    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(target, point));
                } else {
                    static const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Escape, Qt::Key_F1,
                                               Qt::Key_F2, Qt::Key_F3, Qt::Key_Back, Qt::Key_Context1, Qt::Key_Context3, Qt::Key_A, Qt::Key_Space};
                    const int key = keys[random.bounded(int(std::size(keys)))];
                    // Keys reach the dialog when one shows, as the window system blocks the others.
                    QWidget* focus = QApplication::focusWidget();
                    QTest::sendKeyEvent(QTest::Click, popup ? popup : focus && (!dialog || dialog->isAncestorOf(focus)) ? focus : target,
                                        Qt::Key(key), key == Qt::Key_A ? "a" : key == Qt::Key_Space ? " " : "", Qt::NoModifier);
                }
            }
        };
        window.show();
        step();
        while (remaining > 0 || QApplication::activeModalWidget() || QApplication::activePopupWidget())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QVERIFY2(stalls.isEmpty(), qPrintable("stopped answering at " + stalls.join(", ")));
        QCOMPARE(treeListing(sibling), outside);
    }
};

QTEST_MAIN(RandomUseTest)
#include "tst_random_use.moc"
