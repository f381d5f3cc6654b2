// The search: what the walk finds, and what the results window does with what was found.
#include "mainwindow/my_widget.h"
#include "core/phonefolders.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "mainwindow/my_listbox.h"
#include "core/paths.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "search/f_file_8_n.h"
#include "search/search_widget.h"
#include "search/smy_listbox.h"
#include "workfolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// Empty files, and links written "name -> target".
void makeEntries(const WorkFolder& work, const QStringList& entries)
{
    for (const QString& entry : entries)
        if (const QStringList link = entry.split(" -> "); link.size() == 1)
            work.write(entry);
        else
            QCOMPARE(::symlink(qPrintable(link[1]), qPrintable(work.file(link[0]))), 0);
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

// A tap on a row ("tap 2"), a key, or an item of the operation menu, by its text.
void act(F_File_8_N* results, const QString& step)
{
    SMy_ListBox* list = results->resultList();
    if (step.startsWith("tap "))
        return QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(step.mid(4).toInt()).center());
    if (QAbstractButton* key = QMap<QString, QAbstractButton*>{{"FCheck", results->checkAll()}, {"Back", results->backKey()}, {"Ok", results->okKey()}}.value(step))
        return key->click();
    for (int id : {results->copyId(), results->moveId(), results->deleteId()})
        if (results->operationMenu()->text(id) == step)
            results->operationMenu()->itemAction(id)->trigger();
}

// A search: the place, the name, the last letters of the checked boxes (a Images ... f Other,
// g "hiden dir"), what comes while the walk shows its first count, and what it finds.
struct Walk {
    int place;
    QString text, boxes, input;
    QStringList found;
};

}  // namespace

Q_DECLARE_METATYPE(Walk)

class SearchTest : public QObject
{
    Q_OBJECT
private slots:
    void findsByNameTypeAndPlace_data()
    {
        QTest::addColumn<Walk>("walk");
        const QStringList txt{"a.txt", "b/photo.txt", "zlink/e.txt", "mystuff/m.txt"};
        const QStringList all{"a.txt", "a.xyz", "b/photo.txt", "b/photo2.png", "c.mp3", "photo/x.bin", "Photo.JPG", "README", "zlink/e.txt", "mystuff/m.txt"};
        QTest::newRow("every file, in walk order") << Walk{0, "", "", "", all};
        QTest::newRow("Images, case ignored") << Walk{0, "PHOTO", "a", "", QStringList{"b/photo2.png", "Photo.JPG"}};
        QTest::newRow("Other alone") << Walk{0, "", "f", "", QStringList{"a.xyz", "photo/x.bin", "README"}};
        QTest::newRow("hidden with hiden dir") << Walk{0, ".txt", "dg", "", QStringList{".hdir/in.txt", ".hid.txt"} + txt};
        QTest::newRow("Phone Dirs") << Walk{1, "", "", "", QStringList{"diska/d.txt"}};
        QTest::newRow("SD card, wildcard, case ignored") << Walk{2, "*.TXT", "", "", txt.mid(0, 3)};
        QTest::newRow("Stop stops") << Walk{0, "", "", "Stop", QStringList{}};
        QTest::newRow("Search is not pressed twice") << Walk{0, "", "", "Search", all};
    }

    // The card holds "diskb", a folder named like the files, a name with "$", hidden entries, a link
    // to its own folder, one to its parent and one to a folder elsewhere: each file is found once.
    void findsByNameTypeAndPlace()
    {
        QFETCH(Walk, walk);
        WorkFolder work;
        QStringList card{"a.txt", "a.xyz", "Photo.JPG", "README", "c.mp3", "b/photo.txt", "b/photo2.png", "photo/x.bin",
                         "diskb/in.txt", ".hid.txt", ".hdir/in.txt", "pay$day.txt", "b/self -> .", "b/up -> ..",
                         "zlink -> ../../elsewhere"};
        makeEntries(work, card.replaceInStrings(QRegularExpression("^"), "mmc/mmca1/")
                              << "elsewhere/e.txt" << "ezxlocal/download/mystuff/m.txt" << "diska/d.txt");
        Search_Widget form(nullptr);
        form.show();
        UTIL_CST* keys = form.findChild<UTIL_CST*>();
        if (!walk.input.isEmpty())
            QTimer::singleShot(0, &form, [&] {
                QCOMPARE(keys->getRightBtn()->text(), "Stop");
                QTest::mouseClick(walk.input == "Stop" ? keys->getRightBtn() : keys->getMidBtn(), Qt::LeftButton);
            });
        const SMy_ListBox* list = search(form, walk.place, walk.text, walk.boxes)->resultList();
        QStringList rows;  // each the path of its file below the working folder, the fixed folders shortened
        while (rows.size() < list->count())
            rows << QDir(work.path()).relativeFilePath(joinPath(list->rowFolder(rows.size()), list->Istr(rows.size())));
        QCOMPARE(rows.replaceInStrings(QRegularExpression("^(mmc/mmca1|ezxlocal/download)/"), ""), walk.found);
        QCOMPARE(form.findChildren<F_File_8_N*>().size(), 1);
        QCOMPARE(keys->getRightBtn()->text(), "Exit");
    }

    void resultsWindow_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("answers");  // "pick" chooses "to" in the folder picker, "pick b" folder b
        QTest::addColumn<QString>("said");  // by the box answered "Ok"
        QTest::addColumn<QStringList>("card");  // what the card holds after; none: as before
        QTest::addColumn<QString>("after");  // "results", or the folder the main window lists
        const QStringList none;
        QTest::newRow("back closes both") << QStringList{"Back"} << none << "" << none << "mmca1";
        QTest::newRow("tap opens from its own folder") << QStringList{"tap 3"} << none << "" << QStringList{"a", "a/one.txt", "a/same.txt", "b", "b/same.txt", "b/two.txt", "b/two.txt.opened", "late", "to"} << "results";
        QTest::newRow("delete in two folders asks once") << QStringList{"del files", "FCheck", "tap 1", "tap 2", "Ok"} << QStringList{"Ok", "Ok"} << "Delete 2 entries? one.txt, two.txt\nthey go to the Trash" << QStringList{"a", "a/same.txt", "b", "b/same.txt", "late", "to"} << "mmca1";
        QTest::newRow("replace cancelled") << QStringList{"Copy files", "tap 1", "Ok"} << QStringList{"pick b", "Cancel"} << "" << none << "results";
        QTest::newRow("copy") << QStringList{"Copy files", "tap 0", "tap 3", "Ok"} << QStringList{"pick", "Ok"} << "success" << QStringList{"a", "a/one.txt", "a/same.txt", "b", "b/same.txt", "b/two.txt", "late", "to", "to/one.txt", "to/two.txt"} << "to";
        QTest::newRow("one name twice") << QStringList{"move files", "tap 1", "tap 2", "Ok"} << QStringList{"pick", "Ok"} << "[same.txt] has the name of another entry going there" << QStringList{"a", "a/one.txt", "b", "b/same.txt", "b/two.txt", "late", "to", "to/same.txt"} << "to";
        QTest::newRow("picker cancelled") << QStringList{"move files", "tap 0", "Ok"} << QStringList{"Cancel"} << "" << none << "results";
    }

    // A file appears on the card after the search: only the main window's refresh shows it.
    void resultsWindow()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, answers);
        QFETCH(QString, said);
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
        answering.follow(QStringList(answers).replaceInStrings(QRegularExpression("^pick$"), "pick to").replaceInStrings(QRegularExpression("^pick "), "pick:" + phoneFolders().card + "/"));
        for (const QString& step : steps)
            act(results, step);
        expectAllAnswered(answering);
        QCOMPARE(answering.texts().value(answers.indexOf("Ok")), said);
        QCOMPARE(treeListing(phoneFolders().card).keys(), card.isEmpty() ? before : card);
        QCOMPARE(results->isVisible(), after == "results");
        if (after == "results")  // back after a cancelled question, with the one check kept
            QCOMPARE(results->resultList()->checkedPaths().size(), results->mode() == F_File_8_N::Browse ? 0 : 1);
        QCOMPARE(form->isVisible(), after == "results");
        QCOMPARE(main.fileList()->names().contains("late"), after == "mmca1");
        if (after != "results")
            QCOMPARE(fnames(main.currentFolder().absolutePath()), after);
    }
};

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
