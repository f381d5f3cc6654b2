#include "info/folder_picker.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

DirectoryView* viewOf(QWidget* dialog)
{
    return dialog->findChild<DirectoryView*>();
}

QStringList childNames(QTreeWidgetItem* item)
{
    QStringList names;
    for (int i = 0; item && i < item->childCount(); ++i)
        names << item->child(i)->text(0);
    return names;
}

Directory* childNamed(QTreeWidgetItem* item, const QString& name)
{
    for (int i = 0; item && i < item->childCount(); ++i)
        if (item->child(i)->text(0) == name)
            return static_cast<Directory*>(item->child(i));
    return nullptr;
}

}  // namespace

class FolderPickerTest : public QObject
{
    Q_OBJECT

private:
    // A tree below the work folder, by its real path: the tree never follows links.
    QString tree(const WorkFolder& work)
    {
        work.makeFolder("tree/a/b/c");
        work.makeFolder("tree/B");
        work.makeFolder("tree/.hidden");
        work.write("tree/file.txt", "text");
        QFile::link(work.file("tree/a"), work.file("tree/link"));
        return QFileInfo(work.file("tree")).canonicalFilePath();
    }

private slots:
    void selectReturnsTheChosenFolder_data();
    void selectReturnsTheChosenFolder();
    void rootIsSlash();
    void cancelReturnsNothing();
    void treeShowsHiddenFoldersButNoLinksOrFiles();
    void onlyFoldersOnThePathAreListed();
    void secondOpeningKeepsTheOldRows();
    void folderGoneSinceShownIsLocked();
    void doubleClickAndReturnDoNotEndThePicker();
};

void FolderPickerTest::selectReturnsTheChosenFolder_data()
{
    QTest::addColumn<QString>("below");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one level") << "a" << "a";
    QTest::newRow("two levels") << "a/b" << "a/b";
    QTest::newRow("trailing slash") << "a/b/" << "a/b";
    QTest::newRow("hidden folder") << ".hidden" << ".hidden";
    QTest::newRow("letter case counts") << "B" << "B";
    QTest::newRow("missing part stops at the last match") << "a/nothing/c" << "a";
    QTest::newRow("through a link, where it leads") << "link/b" << "a/b";
}

void FolderPickerTest::selectReturnsTheChosenFolder()
{
    QFETCH(QString, below);
    QFETCH(QString, expected);
    WorkFolder work;
    const QString top = tree(work);
    DialogAnswerer answers;
    answers.pick(top + "/" + below);
    QCOMPARE(MyDialog::getDirectory(), top + "/" + expected);
    QVERIFY(answers.finished());
}

void FolderPickerTest::rootIsSlash()
{
    DialogAnswerer answers;
    answers.press("Select");
    QCOMPARE(MyDialog::getDirectory(), QString("/"));
}

void FolderPickerTest::cancelReturnsNothing()
{
    WorkFolder work;
    const QString top = tree(work);
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        viewOf(dialog)->setDir(top);
        DialogAnswerer::pressButton(dialog, "Cancel");
    });
    QVERIFY(MyDialog::getDirectory().isNull());
    QVERIFY(answers.finished());
}

void FolderPickerTest::treeShowsHiddenFoldersButNoLinksOrFiles()
{
    WorkFolder work;
    const QString top = tree(work);
    QStringList shown;
    QString root;
    bool iconsDrawn = false;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        DirectoryView* view = viewOf(dialog);
        root = view->topLevelItem(0)->text(0);
        view->setDir(top);
        shown = childNames(view->currentItem());
        iconsDrawn = !view->currentItem()->icon(0).isNull()
                     && view->currentItem()->icon(0).actualSize(QSize(64, 64)) == QSize(16, 16)
                     && !view->currentItem()->child(0)->icon(0).isNull();
        DialogAnswerer::pressButton(dialog, "Cancel");
    });
    MyDialog::getDirectory();
    QCOMPARE(root, QString("/"));
    QCOMPARE(shown, QStringList({".hidden", "a", "B"}));
    QVERIFY(iconsDrawn);
}

// Opening the root of a big file system must not look inside every folder it shows.
void FolderPickerTest::onlyFoldersOnThePathAreListed()
{
    WorkFolder work;
    const QString top = tree(work);
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        DirectoryView* view = viewOf(dialog);
        view->setDir(top + "/a");
        auto* a = static_cast<Directory*>(view->currentItem());
        QVERIFY(a->isListed());
        auto* folderTree = static_cast<Directory*>(a->parent());
        QVERIFY(folderTree->isListed());
        QVERIFY(!childNamed(folderTree, "B")->isListed());
        QVERIFY(!childNamed(folderTree, ".hidden")->isListed());
        Directory* b = childNamed(a, "b");
        QVERIFY(!b->isListed());
        QCOMPARE(b->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(b->text(1), QString("Directory"));
        DialogAnswerer::pressButton(dialog, "Cancel");
    });
    MyDialog::getDirectory();
    QVERIFY(answers.finished());
}

void FolderPickerTest::secondOpeningKeepsTheOldRows()
{
    WorkFolder work;
    const QString top = tree(work);
    QStringList first, second;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        DirectoryView* view = viewOf(dialog);
        view->setDir(top + "/a");
        first = childNames(view->currentItem());
        view->currentItem()->setExpanded(false);
        work.makeFolder("tree/a/new");
        view->setDir(top + "/a");
        second = childNames(view->currentItem());
        DialogAnswerer::pressButton(dialog, "Cancel");
    });
    MyDialog::getDirectory();
    QCOMPARE(first, QStringList({"b"}));
    QCOMPARE(second, first);
}

void FolderPickerTest::folderGoneSinceShownIsLocked()
{
    WorkFolder work;
    const QString top = tree(work);
    QString result;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        DirectoryView* view = viewOf(dialog);
        view->setDir(top);
        Directory* gone = childNamed(view->currentItem(), "B");
        QVERIFY(QDir(top).rmdir("B"));
        gone->setOpen(true);
        QVERIFY(!gone->isExpanded());
        QVERIFY(!gone->isReadable());
        QCOMPARE(gone->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
        QCOMPARE(gone->text(1), QString("Unreadable Directory"));
        DialogAnswerer::pressButton(dialog, "Cancel");
    });
    MyDialog::getDirectory();
    QVERIFY(answers.finished());
}

void FolderPickerTest::doubleClickAndReturnDoNotEndThePicker()
{
    WorkFolder work;
    const QString top = tree(work);
    bool stillOpen = false;
    DialogAnswerer answers;
    answers.then([&](QWidget* dialog) {
        DirectoryView* view = viewOf(dialog);
        view->setDir(top);
        QTreeWidgetItem* a = childNamed(view->currentItem(), "a");
        view->scrollToItem(a);
        const QPoint at = view->visualItemRect(a).center();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClick(view, Qt::Key_Enter);
        stillOpen = dialog->isVisible();
        DialogAnswerer::pressButton(dialog, "Select");
    });
    const QString chosen = MyDialog::getDirectory();
    QVERIFY(stillOpen);
    QCOMPARE(chosen, top + "/a");
}

QTEST_MAIN(FolderPickerTest)
#include "tst_folderpicker.moc"
