#include "picker/folder_picker.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

Directory* childNamed(QTreeWidgetItem* item, const QString& name)
{
    for (int i = 0; item && i < item->childCount(); ++i)
        if (item->child(i)->text(0) == name)
            return static_cast<Directory*>(item->child(i));
    return nullptr;
}

// Folders a, a/b/c, B and .hidden, a file and a link to a; by its real path, as the tree shows no links.
QString makeTree(const WorkFolder& work)
{
    for (const char* folder : {"tree/a/b/c", "tree/B", "tree/.hidden"})
        work.makeFolder(folder);
    work.write("tree/file.txt", "text");
    QFile::link(work.file("tree/a"), work.file("tree/link"));
    return QFileInfo(work.file("tree")).canonicalFilePath();
}

}  // namespace

class FolderPickerTest : public QObject
{
    Q_OBJECT
private slots:
    void returnsTheChosenFolder_data()
    {
        QTest::addColumn<QString>("below");
        QTest::addColumn<QString>("chosen");  // null when cancelled
        QTest::newRow("trailing slash") << "a/b/" << "a/b";
        QTest::newRow("a missing part stops at the last match") << "a/nothing/c" << "a";
        QTest::newRow("through a link, where it leads") << "link/b" << "a/b";
        QTest::newRow("the root") << "/" << "/";
        QTest::newRow("cancelled") << "a" << QString();
    }
    void returnsTheChosenFolder()
    {
        QFETCH(QString, below);
        QFETCH(QString, chosen);
        WorkFolder work;
        const QString top = makeTree(work);
        DialogAnswerer answers;
        answers.follow({chosen.isNull() ? "Cancel" : "pick:" + (below == "/" ? below : top + "/" + below)});
        const QString result = MyDialog::getDirectory();
        expectAllAnswered(answers);
        QCOMPARE(result, chosen.isNull() || chosen == "/" ? chosen : top + "/" + chosen);
    }

    // The tree lists a folder when it is opened, only folders, and hidden ones too; opening
    // the root of a big file system must not look inside every folder it shows.
    void listsFoldersOnlyWhenOpened()
    {
        WorkFolder work;
        const QString top = makeTree(work);
        DialogAnswerer answers;
        answers.then([&](QWidget* dialog) {
            auto* view = dialog->findChild<DirectoryView*>();
            QCOMPARE(view->topLevelItem(0)->text(0), QString("/"));
            view->setDir(top + "/a");
            auto* a = static_cast<Directory*>(view->currentItem());
            auto* tree = static_cast<Directory*>(a->parent());
            QCOMPARE(tree->childCount(), 3);
            QVERIFY(childNamed(tree, ".hidden") && childNamed(tree, "a") && childNamed(tree, "B"));
            QVERIFY(!childNamed(tree, "B")->isListed() && !childNamed(a, "b")->isListed());
            QCOMPARE(childNamed(a, "b")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

            // A folder gone since it was shown is locked, not opened.
            Directory* gone = childNamed(tree, "B");
            QVERIFY(QDir(top).rmdir("B"));
            gone->setOpen(true);
            QVERIFY(!gone->isExpanded() && !gone->isReadable());
            QCOMPARE(gone->text(1), QString("Unreadable Directory"));

            // Double-click and Return do not end the picker; only "Select" does.
            view->scrollToItem(a);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(a).center());
            view->setCurrentItem(a);
            QTest::keyClick(view, Qt::Key_Return);
            QTest::keyClick(view, Qt::Key_Enter);
            QVERIFY(dialog->isVisible());
            DialogAnswerer::pressButton(dialog, "Select");
        });
        QCOMPARE(MyDialog::getDirectory(), top + "/a");
        expectAllAnswered(answers);
    }
};

QTEST_MAIN(FolderPickerTest)
#include "tst_folderpicker.moc"
