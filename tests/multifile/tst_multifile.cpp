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
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class MultiFileTest : public QObject
{
    Q_OBJECT
private slots:
    void checkedEntriesFromTheMainMenu_data()
    {
        QTest::addColumn<QString>("folder");  // "f" plain names, "files" every hostile name, or another folder
        QTest::addColumn<int>("operation");
        // Taps on rows, keys, the check box, menu items, "Exit" (the right key) or "Ok"; after "Ok", the answers to the
        // dialogs that follow ("pick" chooses the destination).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("handed");  // what "Ok" hands back, %1 the folder; "-": nothing; "*": not compared
        const int move = int(Transfer::Move);
        const int remove = int(Transfer::Delete);
        QTest::newRow("tap twice unchecks, a tap past the rows nothing")
            << "f" << move << QStringList{"tap 1", "tap 1", "tap 9", "Ok", "Cancel"} << "";
        QTest::newRow("Invert ") << "f" << move << QStringList{"tap 1", "Invert ", "tap 2", "Invert ", "Ok", "Cancel"}
                                 << "%1/a.txt$%1/x.txt";
        QTest::newRow("FCheck over some checked, no name holding $")
            << "f" << move << QStringList{"tap 1", "FCheck", "Ok", "Cancel"} << "%1/sub$%1/a.txt$%1/x.txt$%1/y.txt";
        QTest::newRow("Enter toggles, Return not")
            << "f" << move << QStringList{"Down", "Enter", "Return", "Ok", "Cancel"} << "%1/a.txt";
        QTest::newRow("right key") << "f" << move << QStringList{"tap 1", "Exit"} << "-";
        QTest::newRow("root lists nothing") << "/" << move << QStringList{"Enter", "Mark", "Ok", "Cancel"} << "";
        QTest::newRow("folder holding $ lists nothing")
            << "pay$day" << move << QStringList{"Enter", "Mark", "Ok", "Cancel"} << "";
        // Those that can travel are copied, moved or deleted; "diskb" and those holding "$" stay as they were.
        QTest::newRow("copy") << "files" << int(Transfer::Copy) << QStringList{"Mark", "Ok", "pick", "Ok"} << "*";
        QTest::newRow("move") << "files" << move << QStringList{"Mark", "Ok", "pick", "Ok"} << "*";
        QTest::newRow("delete") << "files" << remove << QStringList{"Mark", "Ok", "Ok", "Ok"} << "*";
        QTest::newRow("delete cancelled") << "files" << remove << QStringList{"Mark", "Ok", "Cancel"} << "*";
    }

    // "EFile" is emptied whenever a list is handed back; the main window lists its folder again.
    void checkedEntriesFromTheMainMenu()
    {
        QFETCH(QString, folder);
        QFETCH(int, operation);
        QFETCH(QStringList, steps);
        QFETCH(QString, handed);
        WorkFolder work;
        for (const char* name : {"f/sub/in", "f/diskb/in", "f/a.txt", "f/x.txt", "f/y.txt", "f/pay$day.txt",
                                 "pay$day/a", "files/diskb/in"})
            work.write("mmc/mmca1/" + QLatin1String(name), "");
        for (const QString& name : hostileNames())
            work.write("mmc/mmca1/files/" + name, QByteArray(int(name.size()), 'x'));
        const QString dest = work.makeFolder("mmc/mmca1/to 'q' \"d\" -x");
        const QString path = folder == "/" ? folder : work.file("mmc/mmca1/" + folder);
        work.writeSettings({"File::" + path, "EFile::/a/b.txt"});
        const TreeListing before = treeListing(work.file("mmc"));
        const Transfer transfer = Transfer(operation);
        My_Widget main;
        main.menuSelect(transfer == Transfer::Copy ? main.ids().copyFiles
                        : transfer == Transfer::Move ? main.ids().moveFiles : main.ids().deleteFiles);
        F_File_6_N* window = main.multiFileWindow(transfer);
        QSignalSpy handedBack(window, &F_File_6_N::onNeedGUI);
        FMy_ListBox* list = window->fileList();
        const QMap<QString, Qt::Key> keys{{"Enter", Qt::Key_Enter}, {"Return", Qt::Key_Return}, {"Down", Qt::Key_Down}};
        const QMap<QString, int> menu{{"Mark", window->markId()}, {"Invert ", window->invertId()}};
        DialogAnswerer answering;
        const qsizetype ok = steps.contains("Ok") ? steps.indexOf("Ok") + 1 : steps.size();
        const QStringList answers = steps.mid(ok);
        answering.follow(QStringList(answers).replaceInStrings(QRegularExpression("^pick$"), "pick:" + dest));
        for (const QString& step : steps.mid(0, ok)) {
            if (step.startsWith("tap "))
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(step.mid(4).toInt()).center());
            else if (keys.contains(step))
                QTest::keyClick(list, keys[step]);
            else if (step == "Exit" || step == "Ok")
                (step == "Ok" ? window->softKeyBar()->getMidBtn() : window->softKeyBar()->getRightBtn())->click();
            else
                step == "FCheck" ? window->checkAll()->click() : window->menuSelect(menu[step]);
        }

        QVERIFY(window->isHidden());
        expectAllAnswered(answering);
        const bool ran = answers.endsWith("Ok");
        QCOMPARE(answering.texts().mid(1), ran ? QStringList{"success"} : QStringList{});
        const QList<QVariantList> expected{{handed.replace("%1", path), operation}};
        if (handed != "*")
            QCOMPARE(QList<QVariantList>(handedBack), handed == "-" ? QList<QVariantList>() : expected);
        TreeListing after = before;
        for (const QString& name : hostileNames())
            if (ran && canTravel(name))
                after = treeAfter(after, "mmca1/files/" + name,
                                  transfer != Transfer::Delete ? "mmca1/" + fnames(dest) + "/" + name : "",
                                  transfer == Transfer::Copy);
        QCOMPARE(treeListing(work.file("mmc")), after);
        QCOMPARE(work.read("system.txt").contains("EFile::\r\n"), handed != "-");
        QCOMPARE(main.fileList()->names().contains("two words"), QFileInfo::exists(path + "/two words"));
        QCOMPARE(injectedFiles(work.path()), QStringList());
    }
};

QTEST_MAIN(MultiFileTest)
#include "tst_multifile.moc"
