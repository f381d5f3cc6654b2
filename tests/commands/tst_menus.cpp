#include "app/my_widget.h"
#include "app/platform/popupmenu.h"
#include "app/settings.h"
#include "app/text.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

}  // namespace

class MenusTest : public QObject
{
    Q_OBJECT
private slots:
    void newFolderProposesTheFirstFreeName_data();
    void newFolderProposesTheFirstFreeName();
    void newFolderWithClearedNameDoesNothing();
    void nameFieldRefusesCharactersACardCannotHold_data();
    void nameFieldRefusesCharactersACardCannotHold();
    void hiddenFilesToggle_data();
    void hiddenFilesToggle();
    void fullScreenToggle_data();
    void fullScreenToggle();
    void sortChecksOneItemAndStoresTaxis_data();
    void sortChecksOneItemAndStoresTaxis();
    void fixedFoldersAreListed_data();
    void fixedFoldersAreListed();
    void aboutBoxNamesTheProgramFirst();
    void openTextHandsTheFileToTheEditor_data();
    void openTextHandsTheFileToTheEditor();
    void rowCommandsLeaveTheParentRowAlone_data();
    void rowCommandsLeaveTheParentRowAlone();
    void listIsRefreshedAfterDeleteAndMoveButNotCopy_data();
    void listIsRefreshedAfterDeleteAndMoveButNotCopy();
    void unknownItemDoesNothing();
};

void MenusTest::newFolderProposesTheFirstFreeName_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("proposal");  // empty: no dialog at all
    QTest::newRow("empty folder") << QStringList() << QStringList() << "New Folder";
    QTest::newRow("two taken") << QStringList{"New Folder", "New Folder(1)"} << QStringList() << "New Folder(2)";
    QTest::newRow("a file takes the name too") << QStringList() << QStringList{"New Folder"} << "New Folder(1)";
    QTest::newRow("a gap is filled") << QStringList{"New Folder", "New Folder(2)"} << QStringList() << "New Folder(1)";
    QStringList all{"New Folder"};
    for (int i = 1; i < 20; ++i)
        all << "New Folder(" + QString::number(i) + ")";
    QTest::newRow("twenty taken") << all << QStringList() << "";
}

void MenusTest::newFolderProposesTheFirstFreeName()
{
    QFETCH(QStringList, folders);
    QFETCH(QStringList, files);
    QFETCH(QString, proposal);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1/\u65e5\u672c $x");
    for (const QString& name : folders)
        QVERIFY(QDir().mkdir(card + "/" + name));
    for (const QString& name : files)
        makeFile(card + "/" + name);
    work.writeSettings({"File::" + card});
    My_Widget window;
    const TreeListing before = treeListing(card);

    QString shown;
    DialogAnswerer answers;
    if (!proposal.isEmpty())
        answers.then([&shown](QWidget* dialog) {
            shown = dialog->findChild<QLineEdit*>()->text();
            DialogAnswerer::pressButton(dialog, "Cancel");
        });
    window.menuSelect(window.ids().newFolder);

    expectAllAnswered(answers);
    QCOMPARE(shown, proposal);
    QCOMPARE(answers.texts().size(), proposal.isEmpty() ? 0 : 1);
    QCOMPARE(treeListing(card), before);
}

void MenusTest::newFolderWithClearedNameDoesNothing()
{
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    work.writeSettings({"File::" + card});
    My_Widget window;
    DialogAnswerer answers;
    answers.type("", "Ok");
    window.menuSelect(window.ids().newFolder);
    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList("New Folder"));
    QCOMPARE(treeListing(card), TreeListing());
}

void MenusTest::nameFieldRefusesCharactersACardCannotHold_data()
{
    QTest::addColumn<bool>("typedByKeys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("made");
    QTest::newRow("typed") << true << "a/b\\c:d*e?f<g>h\"i $(j)" << "abcdefghi $(j)";
    QTest::newRow("put in without typing is kept") << false << "x:y" << "x:y";
    QTest::newRow("only refused characters") << true << "/*?" << "";
}

void MenusTest::nameFieldRefusesCharactersACardCannotHold()
{
    QFETCH(bool, typedByKeys);
    QFETCH(QString, typed);
    QFETCH(QString, made);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    work.writeSettings({"File::" + card});
    My_Widget window;

    QString field;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        if (typedByKeys) {
            edit->clear();
            QTest::keyClicks(edit, typed);
        } else {
            edit->setText(typed);
        }
        field = edit->text();
        DialogAnswerer::pressButton(dialog, "Ok");
    });
    if (!made.isEmpty())
        answers.press("Ok");
    window.menuSelect(window.ids().newFolder);

    expectAllAnswered(answers);
    if (typedByKeys)
        QCOMPARE(field, made);
    TreeListing expected;
    if (!made.isEmpty())
        expected[made] = "d";
    QCOMPARE(treeListing(card), expected);
}

void MenusTest::hiddenFilesToggle_data()
{
    QTest::addColumn<QString>("start");  // "-": no "Hide" line in the file
    QTest::addColumn<QList<bool>>("shown");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("from 0") << "0" << QList<bool>{true, false, true} << QStringList{"1", "0", "1"};
    QTest::newRow("from 1") << "1" << QList<bool>{false, true, false} << QStringList{"0", "1", "0"};
    QTest::newRow("key missing") << "-" << QList<bool>{true, true, true} << QStringList{"", "", ""};
}

void MenusTest::hiddenFilesToggle()
{
    QFETCH(QString, start);
    QFETCH(QList<bool>, shown);
    QFETCH(QStringList, stored);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    work.write("mmc/mmca1/.secret", "");
    work.write("mmc/mmca1/plain", "");
    QStringList settings{"File::" + card};
    if (start != "-")
        settings << "Hide::" + start;
    work.writeSettings(settings);
    My_Widget window;
    QCOMPARE(window.fileList()->names().contains(".secret"), start == "1");

    for (int press = 0; press < shown.size(); ++press) {
        window.menuSelect(window.ids().hiddenFiles);
        QCOMPARE(window.fileList()->names().contains(".secret"), shown[press]);
        QVERIFY(window.fileList()->names().contains("plain"));
        QCOMPARE(iniRead("Hide"), stored[press]);
    }
    if (start == "-")
        QVERIFY(!work.read("system.txt").contains("Hide"));
}

void MenusTest::fullScreenToggle_data()
{
    QTest::addColumn<QString>("start");  // "-": no "window" line in the file
    QTest::addColumn<QList<bool>>("full");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("from 0") << "0" << QList<bool>{true, false, true} << QStringList{"1", "0", "1"};
    QTest::newRow("from 1") << "1" << QList<bool>{false, true, false} << QStringList{"0", "1", "0"};
    QTest::newRow("key missing") << "-" << QList<bool>{false, false, false} << QStringList{"", "", ""};
}

void MenusTest::fullScreenToggle()
{
    QFETCH(QString, start);
    QFETCH(QList<bool>, full);
    QFETCH(QStringList, stored);
    WorkFolder work;
    QStringList settings{"File::" + work.makeFolder("mmc/mmca1")};
    if (start != "-")
        settings << "window::" + start;
    work.writeSettings(settings);
    My_Widget window;
    window.show();
    const QRect fullFrame(0, 0, 240, 320);
    const QRect normalFrame(0, 35, 240, 285);  // below the phone's status bar, down to the screen's end

    for (int press = 0; press < full.size(); ++press) {
        window.menuSelect(window.ids().fullScreen);
        QCOMPARE(window.geometry(), full[press] ? fullFrame : normalFrame);
        QCOMPARE(window.systemMenu()->isItemChecked(window.ids().fullScreen), bool(full[press]));
        QCOMPARE(iniRead("window"), stored[press]);
    }
}

void MenusTest::sortChecksOneItemAndStoresTaxis_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("taxis");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("by Name") << "by Name" << "0" << QStringList{"..", "Z", "a", "b", "c"};
    QTest::newRow("by Time") << "by Time" << "1" << QStringList{"..", "Z", "b", "a", "c"};
    QTest::newRow("by Size") << "by Size" << "2" << QStringList{"..", "Z", "b", "c", "a"};
}

void MenusTest::sortChecksOneItemAndStoresTaxis()
{
    QFETCH(QString, item);
    QFETCH(QString, taxis);
    QFETCH(QStringList, rows);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    makeFile(card + "/a", 10, 100);
    makeFile(card + "/b", 30, 50);
    makeFile(card + "/c", 20, 200);
    QDir().mkdir(card + "/Z");
    work.writeSettings({"File::" + card, "Taxis::9"});
    My_Widget window;
    PopupMenu* sort = window.sortMenu();
    const My_Widget::MenuIds& ids = window.ids();

    for (int id : {ids.byName, ids.byTime, ids.bySize})
        if (sort->text(id) == item)
            sort->itemAction(id)->trigger();  // as a tap on the menu row does

    QCOMPARE(window.fileList()->names(), rows);
    QCOMPARE(iniRead("Taxis"), taxis);
    for (int id : {ids.byName, ids.byTime, ids.bySize})
        QCOMPARE(sort->isItemChecked(id), sort->text(id) == item);
}

void MenusTest::fixedFoldersAreListed_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("SD card") << "SD card";
    QTest::newRow("Phone Dir") << "Phone Dir";
    QTest::newRow("System Dir") << "System Dir";
    QTest::newRow("Setup Dir") << "Setup Dir";
}

void MenusTest::fixedFoldersAreListed()
{
    QFETCH(QString, item);
    WorkFolder work;
    work.writeSettings({"File::" + work.makeFolder("elsewhere")});
    My_Widget window;
    const My_Widget::MenuIds& ids = window.ids();
    const QMap<QString, QPair<int, QString>> folders = {
        {"SD card", {ids.sdCard, work.file("mmc/mmca1")}},
        {"Phone Dir", {ids.phoneDir, work.file("ezxlocal/download/mystuff")}},
        {"System Dir", {ids.systemDir, work.file("ezxlocal")}},
        {"Setup Dir", {ids.setupDir, work.file("ezx_user/download/appwrite/setup")}},
    };
    QCOMPARE(window.foldersMenu()->text(folders[item].first), item);
    window.menuSelect(folders[item].first);
    QCOMPARE(window.currentFolder().absolutePath(), folders[item].second);
}

void MenusTest::aboutBoxNamesTheProgramFirst()
{
    WorkFolder work;
    My_Widget window;
    DialogAnswerer answers;
    answers.press("Ok");
    window.menuSelect(window.ids().about);
    expectAllAnswered(answers);
    const QStringList lines = answers.texts().value(0).split('\n');
    QCOMPARE(lines.value(0), QString("Kestrel v1.1 E6/a1200"));
    QVERIFY(lines.size() >= 3);
}

void MenusTest::openTextHandsTheFileToTheEditor_data()
{
    QTest::addColumn<bool>("editorThere");
    QTest::newRow("editor in the working folder") << true;
    QTest::newRow("no editor") << false;
}

void MenusTest::openTextHandsTheFileToTheEditor()
{
    QFETCH(bool, editorThere);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1/caf\u00e9");
    const QString name = "notes $(touch INJECTED) \u65e5.txt";
    work.write("mmc/mmca1/caf\u00e9/" + name, "text");
    work.writeSettings({"File::" + card, "TXTFile::"});
    if (editorThere) {
        work.write("Edit", "#!/bin/sh\n: > \"$PWD/editor started\"\n");
        QVERIFY(QFile::setPermissions(work.file("Edit"), QFile::ReadOwner | QFile::ExeOwner));
    }
    My_Widget window;
    selectRow(window, name);

    DialogAnswerer answers;
    if (!editorThere)
        answers.press("Ok");
    window.menuSelect(window.ids().openText);

    expectAllAnswered(answers);
    QCOMPARE(fromStoredBytes(iniRead("TXTFile")), card + "/" + name);
    if (editorThere) {
        QCOMPARE(answers.texts(), QStringList());
        QTRY_VERIFY(QFile::exists(work.file("editor started")));
    } else {
        QCOMPARE(answers.texts(), QStringList("Cannot start [" + work.file("Edit") + "]"));
    }
    QCOMPARE(injectedFiles(work.path()), QStringList());
}

void MenusTest::rowCommandsLeaveTheParentRowAlone_data()
{
    QTest::addColumn<QString>("command");
    for (const char* command : {"Del", "Delete", "Rename", "Copy", "Move"})
        QTest::newRow(command) << command;
}

void MenusTest::rowCommandsLeaveTheParentRowAlone()
{
    QFETCH(QString, command);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1/inner");
    work.writeSettings({"File::" + card});
    My_Widget window;
    selectRow(window, "..");
    const TreeListing before = treeListing(work.path() + "/mmc");
    const My_Widget::MenuIds& ids = window.ids();
    const QMap<QString, int> items = {
        {"Del", ids.del}, {"Delete", ids.ctxDelete}, {"Rename", ids.ctxRename}, {"Copy", ids.ctxCopy}, {"Move", ids.ctxMove}};

    DialogAnswerer answers;
    window.menuSelect(items[command]);
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(treeListing(work.path() + "/mmc"), before);
}

void MenusTest::listIsRefreshedAfterDeleteAndMoveButNotCopy_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("Delete, Cancel") << "Del" << "Cancel" << true;
    QTest::newRow("Move, Cancel") << "Move" << "Cancel" << true;
    QTest::newRow("Copy, Ok") << "Copy" << "Ok" << false;
}

void MenusTest::listIsRefreshedAfterDeleteAndMoveButNotCopy()
{
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(bool, refreshed);
    WorkFolder work;
    const QString card = work.makeFolder("mmc/mmca1");
    const QString dest = work.makeFolder("dest");
    work.write("mmc/mmca1/a.txt", "a");
    work.writeSettings({"File::" + card});
    My_Widget window;
    selectRow(window, "a.txt");
    work.write("mmc/mmca1/late.txt", "made after the listing");

    DialogAnswerer answers;
    if (command != "Del")
        answers.pick(dest);
    answers.press(answer);
    if (answer == "Ok")
        answers.press("Ok");
    const My_Widget::MenuIds& ids = window.ids();
    window.menuSelect(command == "Del" ? ids.del : command == "Move" ? ids.move : ids.copy);

    expectAllAnswered(answers);
    QCOMPARE(window.fileList()->names().contains("late.txt"), refreshed);
    QVERIFY(QFile::exists(card + "/a.txt"));
}

void MenusTest::unknownItemDoesNothing()
{
    WorkFolder work;
    work.writeSettings({"File::" + work.makeFolder("mmc/mmca1")});
    My_Widget window;
    DialogAnswerer answers;
    for (int item : {12345, 0, window.ids().compres, window.ids().folders, window.ids().sort})
        window.menuSelect(item);
    QCOMPARE(answers.texts(), QStringList());
}

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
