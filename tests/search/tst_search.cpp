// The search: what the walk finds, and what the results window does with what was found.
#include "app/my_widget.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "browser/my_listbox.h"
#include "commands/paths.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "search/f_file_8_n.h"
#include "search/search_widget.h"
#include "search/smy_listbox.h"
#include "workfolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// Empty files, and links written "name -> target".
void makeEntries(const WorkFolder& work, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QStringList link = entry.split(" -> ");
        if (link.size() == 1)
            work.write(entry, "");
        else
            QCOMPARE(::symlink(qPrintable(link[1]), qPrintable(work.file(link[0]))), 0);
    }
}

// Fills the form, presses "Search" and returns the results window that opened.
F_File_8_N* search(Search_Widget& form, int place, const QString& text, const QString& boxes)
{
    form.findChild<QComboBox*>("CB")->setCurrentIndex(place);
    form.findChild<QLineEdit*>("Edit")->setText(text);
    for (const char* box : {"CBa", "CBb", "CBc", "CBd", "CBe", "CBf", "CBg"})
        form.findChild<QCheckBox*>(box)->setChecked(boxes.contains(QLatin1Char(box[2])));
    form.findChild<UTIL_CST*>()->getMidBtn()->click();
    return form.findChildren<F_File_8_N*>().last();
}

// The rows, each as the path of its file below the working folder, the fixed folders shortened.
QStringList rows(const WorkFolder& work, F_File_8_N* results)
{
    static const QRegularExpression fixed("^(mmc/mmca1|ezxlocal/download)/");
    QStringList paths;
    const SMy_ListBox* list = results->resultList();
    for (int row = 0; row < list->count(); ++row)
        paths << QDir(work.path()).relativeFilePath(joinPath(list->rowFolder(row), list->Istr(row))).remove(fixed);
    return paths;
}

void act(F_File_8_N* results, const QString& step)
{
    SMy_ListBox* list = results->resultList();
    if (step.startsWith("tap "))
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(step.mid(4).toInt()).center());
    else if (step == "Enter")
        QTest::keyClick(list, Qt::Key_Enter);
    else if (step == "FCheck")
        results->checkAll()->click();
    else if (step == "Back" || step == "Retry" || step == "Ok")
        (step == "Back" ? results->backKey() : step == "Retry" ? results->retryKey() : results->okKey())->click();
    else
        for (int id : {results->copyId(), results->moveId(), results->deleteId()})
            if (results->operationMenu()->text(id) == step)
                results->operationMenu()->itemAction(id)->trigger();
}

// Title | middle key | check box and row checks shown | menu labels | checked rows.
QString describe(F_File_8_N* results)
{
    const SMy_ListBox* list = results->resultList();
    QStringList middle, labels, checked;
    for (UTIL_PushButton* key : {results->retryKey(), results->okKey()})
        middle << (key->isHidden() ? "" : key->text());
    for (int id : {results->copyId(), results->moveId(), results->deleteId()})
        labels << results->operationMenu()->text(id);
    for (int row = 0; row < list->count(); ++row)
        checked << (list->itemChecked(row) ? QString::number(row) : "");
    return QStringList{results->getTitleBarWidget()->text(), middle.join(""),
                       (results->checkAll()->isHidden() ? "" : "FCheck") + QString(list->Achecked() ? " checks" : ""),
                       labels.join(','), checked.join("")}
        .join('|');
}

}  // namespace

class SearchTest : public QObject
{
    Q_OBJECT
private slots:
    void findsByNameTypeAndPlace_data();
    void findsByNameTypeAndPlace();
    void resultsWindow_data();
    void resultsWindow();
};

void SearchTest::findsByNameTypeAndPlace_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("boxes");  // the last letters of the checked boxes: a Images ... f Other, g "hiden dir"
    QTest::addColumn<QString>("input");  // what comes while the walk shows its first count
    QTest::addColumn<QStringList>("found");
    const QStringList txt{"a.txt", "b/photo.txt", "zlink/e.txt", "mystuff/m.txt"};
    const QStringList all{"a.txt", "a.xyz", "b/photo.txt", "b/photo2.png", "c.mp3", "photo/x.bin", "Photo.JPG", "README", "zlink/e.txt", "mystuff/m.txt"};
    QTest::newRow("every file, in walk order") << 0 << "" << "" << "" << all;
    QTest::newRow("substring, case ignored") << 0 << "PHOTO" << "" << "" << QStringList{"b/photo.txt", "b/photo2.png", "Photo.JPG"};
    QTest::newRow("Images") << 0 << "photo" << "a" << "" << QStringList{"b/photo2.png", "Photo.JPG"};
    QTest::newRow("Other alone") << 0 << "" << "f" << "" << QStringList{"a.xyz", "photo/x.bin", "README"};
    QTest::newRow("Audio and Other") << 0 << "" << "cf" << "" << QStringList{"a.xyz", "c.mp3", "photo/x.bin", "README"};
    QTest::newRow("wildcard") << 0 << "a.*" << "" << "" << QStringList{"a.txt", "a.xyz"};
    QTest::newRow("wildcard, case ignored") << 0 << "*.TXT" << "" << "" << txt;
    QTest::newRow("Notes") << 0 << ".txt" << "d" << "" << txt;
    QTest::newRow("hidden with hiden dir") << 0 << ".txt" << "dg" << "" << QStringList{".hdir/in.txt", ".hid.txt"} + txt;
    QTest::newRow("Phone Dirs") << 1 << "" << "" << "" << QStringList{"diska/d.txt"};
    QTest::newRow("SD card") << 2 << "txt" << "" << "" << txt.mid(0, 3);
    QTest::newRow("nothing") << 0 << "nothing" << "" << "" << QStringList{};
    QTest::newRow("Escape stops") << 0 << "" << "" << "Escape" << QStringList{};
    QTest::newRow("Stop stops") << 0 << "" << "" << "Stop" << QStringList{};
    QTest::newRow("Search is not pressed twice") << 0 << "" << "" << "Search" << all;
}

// The card holds "diskb", a folder named like the files, a name with "$", hidden entries, a link
// to its own folder, one to its parent and one to a folder elsewhere: each file is found once.
void SearchTest::findsByNameTypeAndPlace()
{
    QFETCH(int, place);
    QFETCH(QString, text);
    QFETCH(QString, boxes);
    QFETCH(QString, input);
    QFETCH(QStringList, found);
    WorkFolder work;
    QStringList card{"a.txt", "a.xyz", "Photo.JPG", "README", "c.mp3", "b/photo.txt", "b/photo2.png", "photo/x.bin",
                     "diskb/in.txt", ".hid.txt", ".hdir/in.txt", "pay$day.txt", "b/self -> .", "b/up -> ..",
                     "zlink -> ../../elsewhere"};
    makeEntries(work, card.replaceInStrings(QRegularExpression("^"), "mmc/mmca1/")
                          << "elsewhere/e.txt" << "ezxlocal/download/mystuff/m.txt" << "diska/d.txt");
    Search_Widget form(nullptr);
    form.show();
    UTIL_CST* keys = form.findChild<UTIL_CST*>();
    if (!input.isEmpty()) {
        QTimer::singleShot(0, &form, [&] {
            QCOMPARE(keys->getRightBtn()->text(), "Stop");
            if (input == "Escape")
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                QTest::mouseClick(input == "Stop" ? keys->getRightBtn() : keys->getMidBtn(), Qt::LeftButton);
        });
    }

    F_File_8_N* results = search(form, place, text, boxes);
    QVERIFY(results->isVisible());
    QCOMPARE(rows(work, results), found);
    QCOMPARE(form.findChildren<F_File_8_N*>().size(), 1);
    QCOMPARE(keys->getRightBtn()->text(), "Exit");
}

void SearchTest::resultsWindow_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers");  // "pick" chooses "to" in the folder picker; a box's text: "Ok" to it
    QTest::addColumn<QString>("shown");        // as describe() tells; "" for a window closed by "Ok"
    QTest::addColumn<QStringList>("card");  // what the card holds after; none: as before
    QTest::addColumn<QString>("after");  // "results", "form", or the folder the main window lists
    const QString browse = "result|Retry||Copy files,move files,del files|";
    const QStringList none;
    QTest::newRow("browse") << none << none << browse << none << "results";
    QTest::newRow("copy") << QStringList{"Copy files"} << none << "Copy files|Ok|FCheck checks|not PLAY,move files,del files|" << none << "results";
    QTest::newRow("move") << QStringList{"move files", "tap 0", "tap 2", "tap 0", "Enter"} << none << "move files|Ok|FCheck checks|Copy files,not MOVE,del files|02" << none << "results";
    QTest::newRow("del") << QStringList{"del files", "FCheck"} << none << "del files|Ok|FCheck checks|Copy files,move files,toRemove|0123" << none << "results";
    QTest::newRow("move from copy browses") << QStringList{"Copy files", "tap 1", "move files"} << none << browse + "1" << none << "results";
    QTest::newRow("not PLAY browses") << QStringList{"Copy files", "not PLAY"} << none << browse << none << "results";
    QTest::newRow("checks kept") << QStringList{"del files", "tap 1", "Back", "Copy files"} << none << "Copy files|Ok|FCheck checks|not PLAY,move files,del files|1" << none << "results";
    QTest::newRow("back closes both") << QStringList{"Back"} << none << browse << none << "mmca1";
    QTest::newRow("retry goes back to the form") << QStringList{"Retry"} << none << browse << none << "form";
    QTest::newRow("tap opens from its own folder") << QStringList{"tap 3"} << none << browse << QStringList{"a", "a/one.txt", "a/same.txt", "b", "b/same.txt", "b/two.txt", "b/two.txt.opened", "late", "to"} << "results";
    QTest::newRow("delete in two folders") << QStringList{"del files", "tap 0", "tap 3", "Ok"} << QStringList{"success"} << "" << QStringList{"a", "a/same.txt", "b", "b/same.txt", "late", "to"} << "mmca1";
    QTest::newRow("copy") << QStringList{"Copy files", "tap 0", "tap 3", "Ok"} << QStringList{"pick", "success"} << "" << QStringList{"a", "a/one.txt", "a/same.txt", "b", "b/same.txt", "b/two.txt", "late", "to", "to/one.txt", "to/two.txt"} << "to";
    QTest::newRow("one name twice") << QStringList{"move files", "tap 1", "tap 2", "Ok"} << QStringList{"pick", "[same.txt] has the name of another entry going there"} << "" << QStringList{"a", "a/one.txt", "b", "b/same.txt", "b/two.txt", "late", "to", "to/same.txt"} << "to";
    QTest::newRow("picker cancelled") << QStringList{"move files", "tap 0", "Ok"} << QStringList{"Cancel"} << "move files|Ok|FCheck checks|Copy files,not MOVE,del files|0" << none << "results";
}

// A file appears on the card after the search: only the main window's refresh shows it.
void SearchTest::resultsWindow()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, answers);
    QFETCH(QString, shown);
    QFETCH(QStringList, card);
    QFETCH(QString, after);
    WorkFolder work;
    makeEntries(work, {"mmc/mmca1/a/one.txt", "mmc/mmca1/a/same.txt", "mmc/mmca1/b/same.txt", "mmc/mmca1/b/two.txt"});
    work.makeFolder("mmc/mmca1/to");
    work.write("setup.txt", "txt::/bin/sh -c 'touch \"$2.opened\"' x\r\n");
    My_Widget main;
    main.menuSelect(main.ids().search);
    Search_Widget* form = main.findChild<Search_Widget*>();
    F_File_8_N* results = search(*form, 2, "", "");
    makeEntries(work, {"mmc/mmca1/late"});
    const QStringList before = treeListing(phoneFolders().card).keys();

    DialogAnswerer answering;
    for (const QString& answer : answers) {
        if (answer == "pick" || answer == "Cancel")
            answer == "pick" ? answering.pick(phoneFolders().card + "/to") : answering.press(answer);
        else
            answering.then([answer](QWidget* box) {
                QCOMPARE(DialogAnswerer::textOf(box), answer);
                DialogAnswerer::pressButton(box, "Ok");
            });
    }
    for (const QString& step : steps)
        act(results, step);

    expectAllAnswered(answering);
    if (!shown.isEmpty())
        QCOMPARE(describe(results), shown);
    QCOMPARE(treeListing(phoneFolders().card).keys(), card.isEmpty() ? before : card);
    QCOMPARE(results->isVisible(), after == "results");
    QCOMPARE(form->isVisible(), after == "results" || after == "form");
    QCOMPARE(main.fileList()->names().contains("late"), after == "mmca1");
    if (after != "results" && after != "form")
        QCOMPARE(fnames(main.currentFolder().absolutePath()), after);
}

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
