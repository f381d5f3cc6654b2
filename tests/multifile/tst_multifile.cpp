#include "mainwindow/my_widget.h"
#include "platform/softkeys.h"
#include "mainwindow/my_listbox.h"
#include "core/paths.h"
#include "commands/transfer.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "multifile/f_file_6_n.h"
#include "multifile/fmy_listbox.h"
#include "workfolder.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>

class MultiFileTest : public QObject
{
    Q_OBJECT
private slots:
    void okHandsBackTheCheckedPaths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("steps");  // taps on rows, keys, the check box or menu items
        QTest::addColumn<QString>("handed");  // what "Ok" hands back, %1 the folder; "-": the right key instead
        const QString all = "%1/sub$%1/a.txt$%1/x.txt$%1/y.txt";  // no "diskb", no name holding "$"
        QTest::newRow("tap twice unchecks, a tap past the rows nothing") << "f" << QStringList{"tap 1", "tap 1", "tap 9"} << "";
        QTest::newRow("Mark") << "f" << QStringList{"Mark"} << all;
        QTest::newRow("Invert ") << "f" << QStringList{"tap 1", "Invert ", "tap 2", "Invert "} << "%1/a.txt$%1/x.txt";
        QTest::newRow("FCheck over some checked") << "f" << QStringList{"tap 1", "FCheck"} << all;
        QTest::newRow("Enter toggles, Return not") << "f" << QStringList{"Down", "Enter", "Return"} << "%1/a.txt";
        QTest::newRow("right key") << "f" << QStringList{"tap 1"} << "-";
        QTest::newRow("root lists nothing") << "/" << QStringList{"Enter", "Mark"} << "";
        QTest::newRow("folder holding $ lists nothing") << "pay$day" << QStringList{"Enter", "Mark"} << "";
    }

    void okHandsBackTheCheckedPaths()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, steps);
        QFETCH(QString, handed);
        WorkFolder work;
        for (const char* name : {"f/sub/in", "f/diskb/in", "f/a.txt", "f/x.txt", "f/y.txt", "f/pay$day.txt", "pay$day/a"})
            work.write(QLatin1String(name), "");
        const QString path = folder == "/" ? folder : work.file(folder);
        F_File_6_N window(nullptr, "move files", path, int(Transfer::Move));
        window.show();
        QSignalSpy handedBack(&window, &F_File_6_N::onNeedGUI);
        FMy_ListBox* list = window.fileList();
        const QMap<QString, Qt::Key> keys{{"Enter", Qt::Key_Enter}, {"Return", Qt::Key_Return}, {"Down", Qt::Key_Down}};
        const QMap<QString, int> menu{{"Mark", window.markId()}, {"unMark", window.unmarkId()}, {"Invert ", window.invertId()}};
        for (const QString& step : steps) {
            if (step.startsWith("tap "))
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(step.mid(4).toInt()).center());
            else if (keys.contains(step))
                QTest::keyClick(list, keys[step]);
            else
                step == "FCheck" ? window.checkAll()->click() : window.menuSelect(menu[step]);
        }
        (handed == "-" ? window.softKeyBar()->getRightBtn() : window.softKeyBar()->getMidBtn())->click();

        QVERIFY(window.isHidden());
        QList<QVariantList> expected;
        if (handed != "-")
            expected << QVariantList{handed.replace("%1", path), int(Transfer::Move)};
        QCOMPARE(QList<QVariantList>(handedBack), expected);
    }

    void batchFromTheMainMenu_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("picked");  // or the delete question answered "Ok"
        QTest::newRow("copy") << int(Transfer::Copy) << true;
        QTest::newRow("move") << int(Transfer::Move) << true;
        QTest::newRow("delete") << int(Transfer::Delete) << true;
        QTest::newRow("delete cancelled") << int(Transfer::Delete) << false;
        QTest::newRow("picker cancelled") << int(Transfer::Move) << false;
    }

    // Every hostile name checked at once: those that can travel are copied, moved or deleted;
    // those holding "$" stay as they were. "EFile" is emptied either way.
    void batchFromTheMainMenu()
    {
        QFETCH(int, operation);
        QFETCH(bool, picked);
        WorkFolder work;
        const QString files = work.makeFolder("mmc/mmca1/files");
        const QString dest = work.makeFolder("mmc/mmca1/to 'q' \"d\" -x");
        work.writeSettings({"File::" + files, "EFile::/a/b.txt"});
        for (const QString& name : hostileNames())
            writeFile(files + "/" + name, QByteArray(int(name.size()), 'x'));
        const TreeListing before = treeListing(work.file("mmc"));
        const Transfer transfer = Transfer(operation);
        My_Widget main;
        main.menuSelect(transfer == Transfer::Copy ? main.ids().copyFiles : transfer == Transfer::Move ? main.ids().moveFiles : main.ids().deleteFiles);
        F_File_6_N* window = main.multiFileWindow(transfer);
        QVERIFY(window->isVisible());
        window->menuSelect(window->markId());
        DialogAnswerer answers;
        picked ? (transfer == Transfer::Delete ? answers.press("Ok") : answers.pick(dest)) : answers.press("Cancel");
        if (picked)
            answers.press("Ok");
        window->softKeyBar()->getMidBtn()->click();

        expectAllAnswered(answers);
        QCOMPARE(answers.texts().mid(1), picked ? QStringList{"success"} : QStringList{});
        const QStringList names = hostileNames();
        if (transfer == Transfer::Delete)
            QVERIFY(answers.texts().first().startsWith(QString("Delete %1 entries? ").arg(std::count_if(names.cbegin(), names.cend(), canTravel))));
        TreeListing expected = before;
        for (const QString& name : hostileNames())
            if (picked && canTravel(name))
                expected = treeAfter(expected, "mmca1/files/" + name, transfer != Transfer::Delete ? "mmca1/" + fnames(dest) + "/" + name : "",
                                     transfer == Transfer::Copy);
        QCOMPARE(treeListing(work.file("mmc")), expected);
        QVERIFY(work.read("system.txt").contains("EFile::\r\n"));
        QCOMPARE(main.fileList()->names().contains("two words"), transfer == Transfer::Copy || !picked);
        QCOMPARE(injectedFiles(work.path()), QStringList());
    }
};

QTEST_MAIN(MultiFileTest)
#include "tst_multifile.moc"
