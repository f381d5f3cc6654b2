// The search: what the walk finds, and what the results window does with what was found.
#include "app/my_widget.h"
#include "browser/my_listbox.h"
#include "app/phonefolders.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
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

void makeFiles(const WorkFolder& work, const QStringList& files)
{
    for (const QString& file : files)
        work.write(file, "");
}

void makeLink(const WorkFolder& work, const QByteArray& target, const QString& link)
{
    QCOMPARE(::symlink(target.constData(), QFile::encodeName(work.file(link)).constData()), 0);
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

// Title | middle keys | check box and row checks shown | menu labels | checked rows | open or closed.
QString describe(F_File_8_N* results)
{
    QStringList middle, labels, checked;
    for (UTIL_PushButton* key : {results->retryKey(), results->okKey()})
        if (!key->isHidden())
            middle << key->text();
    for (int id : {results->copyId(), results->moveId(), results->deleteId()})
        labels << results->operationMenu()->text(id);
    for (int row = 0; row < results->resultList()->count(); ++row)
        if (results->resultList()->itemChecked(row))
            checked << QString::number(row);
    const QString checks = QString(results->checkAll()->isHidden() ? "" : "FCheck")
                           + (results->resultList()->Achecked() ? " checks" : "");
    return QStringList{results->getTitleBarWidget()->text(), middle.join('+'), checks, labels.join(','),
                       checked.join(','), results->isVisible() ? "open" : "closed"}
        .join('|');
}

}  // namespace

class SearchTest : public QObject
{
    Q_OBJECT
private slots:
    void findsByNameTypeAndPlace_data();
    void findsByNameTypeAndPlace();
    void onlyTheStopKeyAndEscapeReachTheWalk_data();
    void onlyTheStopKeyAndEscapeReachTheWalk();
    void resultModes_data();
    void resultModes();
    void resultsAreOpenedAndHandledInBatch_data();
    void resultsAreOpenedAndHandledInBatch();
};

void SearchTest::findsByNameTypeAndPlace_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("boxes");  // the last letters of the checked boxes: a Images ... f Other, g "hiden dir"
    QTest::addColumn<QStringList>("found");
    const QStringList txt{"a.txt", "b/photo.txt", "zlink/e.txt", "mystuff/m.txt"};
    QTest::newRow("every file, in walk order") << 0 << "" << "" << QStringList{"a.txt", "a.xyz", "b/photo.txt", "b/photo2.png", "c.mp3", "photo/x.bin", "Photo.JPG", "README", "zlink/e.txt", "mystuff/m.txt"};
    QTest::newRow("substring, case ignored") << 0 << "PHOTO" << "" << QStringList{"b/photo.txt", "b/photo2.png", "Photo.JPG"};
    QTest::newRow("Images") << 0 << "photo" << "a" << QStringList{"b/photo2.png", "Photo.JPG"};
    QTest::newRow("Other alone") << 0 << "" << "f" << QStringList{"a.xyz", "photo/x.bin", "README"};
    QTest::newRow("Audio and Other") << 0 << "" << "cf" << QStringList{"a.xyz", "c.mp3", "photo/x.bin", "README"};
    QTest::newRow("wildcard") << 0 << "a.*" << "" << QStringList{"a.txt", "a.xyz"};
    QTest::newRow("wildcard, case ignored") << 0 << "*.TXT" << "" << txt;
    QTest::newRow("Notes") << 0 << ".txt" << "d" << txt;
    QTest::newRow("hidden with hiden dir") << 0 << ".txt" << "dg" << QStringList{".hdir/in.txt", ".hid.txt"} + txt;
    QTest::newRow("Phone Dirs") << 1 << "" << "" << QStringList{"diska/d.txt"};
    QTest::newRow("SD card") << 2 << "txt" << "" << txt.mid(0, 3);
    QTest::newRow("nothing") << 0 << "nothing" << "" << QStringList{};
}

// The card holds "diskb", a folder named like the files, a name with "$", hidden entries, a link
// to itself, a link to its parent and a link to a folder elsewhere: each file is found once.
void SearchTest::findsByNameTypeAndPlace()
{
    QFETCH(int, place);
    QFETCH(QString, text);
    QFETCH(QString, boxes);
    QFETCH(QStringList, found);
    WorkFolder work;
    for (const char* file : {"a.txt", "a.xyz", "Photo.JPG", "README", "c.mp3", "b/photo.txt", "b/photo2.png",
                             "photo/x.bin", "diskb/in.txt", ".hid.txt", ".hdir/in.txt", "pay$day.txt"})
        work.write("mmc/mmca1/" + QLatin1String(file), "");
    makeFiles(work, {"elsewhere/e.txt", "ezxlocal/download/mystuff/m.txt", "diska/d.txt"});
    makeLink(work, ".", "mmc/mmca1/b/self");
    makeLink(work, "..", "mmc/mmca1/b/up");
    makeLink(work, "../../elsewhere", "mmc/mmca1/zlink");
    Search_Widget form(nullptr);
    form.show();

    F_File_8_N* results = search(form, place, text, boxes);
    QVERIFY(results->isVisible());
    QCOMPARE(rows(work, results), found);
}

void SearchTest::onlyTheStopKeyAndEscapeReachTheWalk_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("found");
    QTest::newRow("Escape") << "Escape" << 0;
    QTest::newRow("Stop") << "Stop" << 0;
    QTest::newRow("Search again") << "Search" << 2;
}

// The input comes while the walk shows its first count: a stop opens the results so far.
void SearchTest::onlyTheStopKeyAndEscapeReachTheWalk()
{
    QFETCH(QString, input);
    QFETCH(int, found);
    WorkFolder work;
    makeFiles(work, {"mmc/mmca1/a/x", "mmc/mmca1/y"});
    Search_Widget form(nullptr);
    form.show();
    UTIL_CST* keys = form.findChild<UTIL_CST*>();
    QTimer::singleShot(0, &form, [&] {
        QCOMPARE(keys->getRightBtn()->text(), "Stop");
        if (input == "Escape")
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            QTest::mouseClick(input == "Stop" ? keys->getRightBtn() : keys->getMidBtn(), Qt::LeftButton);
    });

    QCOMPARE(search(form, 0, "", "")->resultList()->count(), found);
    QCOMPARE(form.findChildren<F_File_8_N*>().size(), 1);
    QCOMPARE(keys->getRightBtn()->text(), "Exit");
    QVERIFY(form.isVisible());
}

void SearchTest::resultModes_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    const QString browse = "result|Retry||Copy files,move files,del files|";
    QTest::newRow("browse") << QStringList{} << browse + "|open";
    QTest::newRow("copy") << QStringList{"Copy files"} << "Copy files|Ok|FCheck checks|not PLAY,move files,del files||open";
    QTest::newRow("move") << QStringList{"move files", "tap 0", "tap 2", "tap 0", "Enter"} << "move files|Ok|FCheck checks|Copy files,not MOVE,del files|0,2|open";
    QTest::newRow("del") << QStringList{"del files", "FCheck"} << "del files|Ok|FCheck checks|Copy files,move files,toRemove|0,1,2|open";
    QTest::newRow("move from copy browses") << QStringList{"Copy files", "tap 1", "move files"} << browse + "1|open";
    QTest::newRow("not PLAY browses") << QStringList{"Copy files", "not PLAY"} << browse + "|open";
    QTest::newRow("checks kept") << QStringList{"del files", "tap 1", "Back", "Copy files"} << "Copy files|Ok|FCheck checks|not PLAY,move files,del files|1|open";
    QTest::newRow("back closes") << QStringList{"Back"} << browse + "|closed";
    QTest::newRow("retry closes") << QStringList{"Retry"} << browse + "|closed";
}

// Back from browse mode closes the search too and the main window refreshes; "Retry"
// returns to the form.
void SearchTest::resultModes()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    WorkFolder work;
    makeFiles(work, {"mmc/mmca1/a", "mmc/mmca1/b", "mmc/mmca1/c"});
    My_Widget main;
    main.menuSelect(main.ids().search);
    Search_Widget* form = main.findChild<Search_Widget*>();
    F_File_8_N* results = search(*form, 0, "", "");
    makeFiles(work, {"mmc/mmca1/new"});

    for (const QString& step : steps)
        act(results, step);
    QCOMPARE(describe(results), shown);
    QCOMPARE(form->isVisible(), !steps.contains("Back") || results->isVisible());
    QCOMPARE(main.fileList()->names().contains("new"), steps == QStringList{"Back"});
}

void SearchTest::resultsAreOpenedAndHandledInBatch_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers");  // "pick" chooses "to" in the folder picker
    QTest::addColumn<QStringList>("changes");  // entries of the card added (+) or gone (-)
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("listed");  // what the main window lists after; "" while the results stay open
    QTest::newRow("tap opens from its own folder") << QStringList{"tap 3"} << QStringList{} << QStringList{"+b/two.txt.opened"} << "" << "";
    QTest::newRow("delete in two folders") << QStringList{"del files", "tap 0", "tap 3", "Ok"} << QStringList{"Ok"} << QStringList{"-a/one.txt", "-b/two.txt"} << "success" << "mmca1";
    QTest::newRow("copy") << QStringList{"Copy files", "tap 0", "tap 3", "Ok"} << QStringList{"pick", "Ok"} << QStringList{"+to/one.txt", "+to/two.txt"} << "success" << "to";
    QTest::newRow("one name twice") << QStringList{"move files", "tap 1", "tap 2", "Ok"} << QStringList{"pick", "Ok"} << QStringList{"-a/same.txt", "+to/same.txt"} << "[same.txt] has the name of another entry going there" << "to";
    QTest::newRow("picker cancelled") << QStringList{"move files", "tap 0", "Ok"} << QStringList{"Cancel"} << QStringList{} << "" << "";
}

void SearchTest::resultsAreOpenedAndHandledInBatch()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, changes);
    QFETCH(QString, report);
    QFETCH(QString, listed);
    WorkFolder work;
    const QString card = phoneFolders().card;
    makeFiles(work, {"mmc/mmca1/a/one.txt", "mmc/mmca1/a/same.txt", "mmc/mmca1/b/same.txt", "mmc/mmca1/b/two.txt"});
    work.makeFolder("mmc/mmca1/to");
    work.write("setup.txt", "txt::/bin/sh -c 'touch \"$2.opened\"' x\r\n");
    TreeListing expected = treeListing(card);
    for (const QString& change : changes) {
        if (change.startsWith('+'))
            expected[change.mid(1)] = "f:d41d8cd98f00b204e9800998ecf8427e";  // empty
        else
            expected.remove(change.mid(1));
    }
    My_Widget main;
    main.menuSelect(main.ids().search);
    F_File_8_N* results = search(*main.findChild<Search_Widget*>(), 2, "", "");

    DialogAnswerer answering;
    for (const QString& answer : answers)
        answer == "pick" ? answering.pick(card + "/to") : answering.press(answer);
    for (const QString& step : steps)
        act(results, step);

    expectAllAnswered(answering);
    QCOMPARE(treeListing(card), expected);
    if (!report.isEmpty())
        QCOMPARE(answering.texts().last(), report);
    QCOMPARE(results->isVisible(), listed.isEmpty());
    QCOMPARE(main.findChild<Search_Widget*>()->isVisible(), listed.isEmpty());
    if (!listed.isEmpty())
        QCOMPARE(fnames(main.currentFolder().absolutePath()), listed);
}

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
