#include "app/my_widget.h"
#include "browser/my_listbox.h"
#include "dialogs.h"
#include "hostilenames.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

// The card with a listed folder "files", a neighbour in it, and a destination folder whose
// own name is hostile; the main window shows "files".
struct Card {
    WorkFolder work;
    QString root = work.makeFolder("mmc/mmca1");
    QString files = work.makeFolder("mmc/mmca1/files");
    QString destName = "to $(touch INJECTED) `touch INJECTED` 'q' \"d\" -x";
    QString dest = work.makeFolder("mmc/mmca1/" + destName);
    std::unique_ptr<My_Widget> window;

    Card()
    {
        work.write("mmc/mmca1/files/keep.txt", "neighbour");
        work.write("mmc/mmca1/" + destName + "/old.txt", "already there");
        work.writeSettings({"File::" + files, "Hide::0", "Taxis::0", "window::0"});
        window = std::make_unique<My_Widget>();
        window->show();
    }

    // A file holding its own name, or a folder with a file and a subfolder.
    void make(const QString& folder, const QString& name, bool isFolder) const
    {
        const QString path = folder + "/" + name;
        if (!isFolder) {
            QFile file(path);
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
            file.write(name.toUtf8());
            return;
        }
        QVERIFY(QDir().mkpath(path + "/sub"));
        QFile inner(path + "/inner.txt");
        QVERIFY(inner.open(QIODevice::WriteOnly));
        inner.write("inside " + name.toUtf8());
        QFile deep(path + "/sub/deep.txt");
        QVERIFY(deep.open(QIODevice::WriteOnly));
        deep.write("deep");
    }

    void select(const QString& name) const
    {
        window->qListBox(files);
        const int row = window->fileList()->names().indexOf(name);
        QVERIFY2(row >= 0, qPrintable("no row for " + name));
        window->fileList()->setCurrentItem(row);
        window->isOpen();
    }

    TreeListing tree() const { return treeListing(root); }
    QStringList injected() const { return injectedFiles(work.path()); }
};

// What a name becomes in the name-entry field, made different from the name.
QString renamedName(const QString& name)
{
    QString typed = name;
    typed.remove(QRegularExpression("[\\n\\r?/<>\\\\:\"*]"));
    if (typed.toUtf8().size() < 255)
        return typed + "2";
    typed.chop(1);
    return typed + "2";
}

void addHostileRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFolder");
    for (const QString& name : hostileNames()) {
        QTest::newRow("file " + hostileRowName(name)) << name << false;
        QTest::newRow("folder " + hostileRowName(name)) << name << true;
    }
}

}  // namespace

class FileOperationsTest : public QObject
{
    Q_OBJECT
private slots:
    void deleteRemovesOnlyThatEntry_data() { addHostileRows(); }
    void deleteRemovesOnlyThatEntry();
    void renameRenamesOnlyThatEntry_data() { addHostileRows(); }
    void renameRenamesOnlyThatEntry();
    void copyOrMoveIntoTheChosenFolder_data();
    void copyOrMoveIntoTheChosenFolder();
    void newFolderMakesThatFolder_data();
    void newFolderMakesThatFolder();

    void existingEntryInDestinationAsksFirst_data();
    void existingEntryInDestinationAsksFirst();
    void folderIntoItselfIsRefused_data();
    void folderIntoItselfIsRefused();
    void renameOntoExistingNameIsRefused_data();
    void renameOntoExistingNameIsRefused();
    void newFolderOntoExistingNameReportsFailure_data();
    void newFolderOntoExistingNameReportsFailure();
    void unwritableFolderReportsFailure_data();
    void unwritableFolderReportsFailure();
    void missingSourceReportsFailure_data();
    void missingSourceReportsFailure();
};

void FileOperationsTest::deleteRemovesOnlyThatEntry()
{
    QFETCH(QString, name);
    QFETCH(bool, isFolder);
    Card card;
    card.make(card.files, name, isFolder);
    card.select(name);
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    answers.press("Ok").press("Ok");
    card.window->menuSelect(card.window->ids().del);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList({"want to delete?    [" + name + "]\nremove can't reverse!",
                                           name + "\nDelete success"}));
    QCOMPARE(card.tree(), treeAfter(before, "files/" + name, QString(), false));
    QVERIFY(!card.window->fileList()->names().contains(name));
    QCOMPARE(card.injected(), QStringList());
}

void FileOperationsTest::renameRenamesOnlyThatEntry()
{
    QFETCH(QString, name);
    QFETCH(bool, isFolder);
    Card card;
    card.make(card.files, name, isFolder);
    card.select(name);
    const TreeListing before = card.tree();
    const QString newName = renamedName(name);

    DialogAnswerer answers;
    answers.type(newName, "Ok").press("Ok");
    card.window->menuSelect(card.window->ids().ctxRename);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList({"[" + name + "] to ", " rename to [ " + newName + "] success!"}));
    QCOMPARE(card.tree(), treeAfter(before, "files/" + name, "files/" + newName, false));
    QVERIFY(card.window->fileList()->names().contains(newName));
    QCOMPARE(card.injected(), QStringList());
}

void FileOperationsTest::copyOrMoveIntoTheChosenFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<bool>("move");
    for (const bool move : {false, true}) {
        const QString operation = move ? "move " : "copy ";
        for (const QString& name : hostileNames()) {
            QTest::newRow(qPrintable(operation + "file " + hostileRowName(name))) << name << false << move;
            QTest::newRow(qPrintable(operation + "folder " + hostileRowName(name))) << name << true << move;
        }
    }
}

void FileOperationsTest::copyOrMoveIntoTheChosenFolder()
{
    QFETCH(QString, name);
    QFETCH(bool, isFolder);
    QFETCH(bool, move);
    Card card;
    card.make(card.files, name, isFolder);
    card.select(name);
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    answers.pick(card.dest).press("Ok").press("Ok");
    card.window->menuSelect(move ? card.window->ids().ctxMove : card.window->ids().copy);

    expectAllAnswered(answers);
    const QStringList texts = move
        ? QStringList{"are you sure ?" + name + " move " + card.dest, name + " moved success"}
        : QStringList{"are you sure ?" + name + " copy " + card.dest, name + " Copy success!"};
    QCOMPARE(answers.texts().mid(1), texts);
    QCOMPARE(card.tree(), treeAfter(before, "files/" + name, card.destName + "/" + name, !move));
    if (move)
        QVERIFY(!card.window->fileList()->names().contains(name));
    QCOMPARE(card.injected(), QStringList());
}

void FileOperationsTest::newFolderMakesThatFolder_data()
{
    QTest::addColumn<QString>("name");
    // Only names the field lets one type: the others cannot be asked for.
    for (const QString& name : hostileNames())
        if (renamedName(name) == name + "2")
            QTest::newRow(hostileRowName(name)) << name;
}

void FileOperationsTest::newFolderMakesThatFolder()
{
    QFETCH(QString, name);
    Card card;
    card.window->qListBox(card.files);
    TreeListing expected = card.tree();
    expected["files/" + name] = "d";

    DialogAnswerer answers;
    answers.type(name, "Ok").press("Ok");
    card.window->menuSelect(card.window->ids().newFolder);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList({"New Folder", "Creat folder [" + name + "] success!"}));
    QCOMPARE(card.tree(), expected);
    QVERIFY(card.window->fileList()->names().contains(name));
    QCOMPARE(card.injected(), QStringList());
}

void FileOperationsTest::existingEntryInDestinationAsksFirst_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<bool>("sourceIsFolder");
    QTest::addColumn<bool>("targetIsFolder");
    QTest::addColumn<bool>("replace");
    for (bool move : {false, true})
        for (bool sourceIsFolder : {false, true})
            for (bool targetIsFolder : {false, true})
                for (bool replace : {false, true})
                    QTest::addRow("%s %s onto %s, %s", move ? "move" : "copy", sourceIsFolder ? "folder" : "file",
                                  targetIsFolder ? "folder" : "file", replace ? "Ok" : "Cancel")
                        << move << sourceIsFolder << targetIsFolder << replace;
}

void FileOperationsTest::existingEntryInDestinationAsksFirst()
{
    QFETCH(bool, move);
    QFETCH(bool, sourceIsFolder);
    QFETCH(bool, targetIsFolder);
    QFETCH(bool, replace);
    const QString name = "it's $(touch INJECTED)";
    Card card;
    card.make(card.files, name, sourceIsFolder);
    card.make(card.dest, name, targetIsFolder);
    if (targetIsFolder)
        card.work.write("mmc/mmca1/" + card.destName + "/" + name + "/only-in-old.txt", "old");
    card.select(name);
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    answers.pick(card.dest).press(replace ? "Ok" : "Cancel");
    if (replace)
        answers.press("Ok").press("Ok");
    card.window->menuSelect(move ? card.window->ids().move : card.window->ids().copy);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts().value(1), "[" + name + "] already exists in [" + card.dest + "]. Replace it?");
    QCOMPARE(card.injected(), QStringList());
    if (!replace) {
        QCOMPARE(answers.texts().size(), 2);
        QCOMPARE(card.tree(), before);
        return;
    }
    QCOMPARE(answers.texts().value(3), name + (move ? " moved success" : " Copy success!"));
    const QString target = card.destName + "/" + name;
    const TreeListing withoutOld = treeAfter(before, target, QString(), false);
    QCOMPARE(card.tree(), treeAfter(withoutOld, "files/" + name, target, !move));
}

void FileOperationsTest::folderIntoItselfIsRefused_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("destBelowSource");  // "-" for the folder it is in
    QTest::addColumn<QString>("message");
    for (bool move : {false, true}) {
        const QString verb = move ? "moved" : "copied";
        const QByteArray op = move ? "move" : "copy";
        QTest::newRow(op + " into itself") << move << "" << "[pics] cannot be " + verb + " into itself";
        QTest::newRow(op + " below itself") << move << "/sub" << "[pics] cannot be " + verb + " into itself";
        QTest::newRow(op + " into the folder it is in") << move << "-" << "[pics] is already in [%1]";
        QTest::newRow(op + " onto a folder that holds it")
            << move << "up" << "[%1/pics] holds [pics] and cannot be replaced by it";
    }
}

void FileOperationsTest::folderIntoItselfIsRefused()
{
    QFETCH(bool, move);
    QFETCH(QString, destBelowSource);
    QFETCH(QString, message);
    Card card;
    if (destBelowSource == "up") {
        // files/pics/inner/pics is listed, and files holds a pics of its own: the listed one's ancestor.
        card.make(card.files + "/pics/inner", "pics", true);
        card.files += "/pics/inner";
    } else {
        card.make(card.files, "pics", true);
    }
    card.select("pics");
    const TreeListing before = card.tree();
    const QString dest = destBelowSource == "-" ? card.files
                         : destBelowSource == "up" ? card.root + "/files"
                                                   : card.files + "/pics" + destBelowSource;

    DialogAnswerer answers;
    answers.pick(dest).press("Ok");
    card.window->menuSelect(move ? card.window->ids().ctxMove : card.window->ids().ctxCopy);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts().mid(1), QStringList(message.contains("%1") ? message.arg(dest) : message));
    QCOMPARE(card.tree(), before);
}

void FileOperationsTest::renameOntoExistingNameIsRefused_data()
{
    QTest::addColumn<bool>("sourceIsFolder");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<bool>("existingIsFolder");
    QTest::newRow("file onto file") << false << "b $x" << false;
    QTest::newRow("file onto folder") << false << "b $x" << true;
    QTest::newRow("folder onto file") << true << "b $x" << false;
    QTest::newRow("folder onto the parent") << true << ".." << true;
}

void FileOperationsTest::renameOntoExistingNameIsRefused()
{
    QFETCH(bool, sourceIsFolder);
    QFETCH(QString, existing);
    QFETCH(bool, existingIsFolder);
    Card card;
    card.make(card.files, "a", sourceIsFolder);
    if (existing != "..")
        card.make(card.files, existing, existingIsFolder);
    card.select("a");
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    answers.type(existing, "Ok").press("Ok");
    card.window->menuSelect(card.window->ids().rename);

    expectAllAnswered(answers);
    QCOMPARE(answers.texts().value(1), "[" + existing + "] already exists");
    QCOMPARE(card.tree(), before);
}

void FileOperationsTest::newFolderOntoExistingNameReportsFailure_data()
{
    QTest::addColumn<bool>("existingIsFolder");
    QTest::newRow("a folder") << true;
    QTest::newRow("a file") << false;
}

void FileOperationsTest::newFolderOntoExistingNameReportsFailure()
{
    QFETCH(bool, existingIsFolder);
    Card card;
    card.make(card.files, "x y", existingIsFolder);
    card.window->qListBox(card.files);
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    answers.type("x y", "Ok").press("Ok");
    card.window->menuSelect(card.window->ids().newFolder);

    expectAllAnswered(answers);
    const QString message = answers.texts().value(1);
    QVERIFY2(message.startsWith("[x y] failed!\n/bin/mkdir: "), qPrintable(message));
    QVERIFY2(message.contains("File exists"), qPrintable(message));
    QVERIFY(!message.contains("success"));
    QCOMPARE(card.tree(), before);
}

// The kernel's own folder refuses new entries even to root, as a read-only card would.
void FileOperationsTest::unwritableFolderReportsFailure_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("isFolder");
    for (const char* operation : {"copy", "move"}) {
        QTest::addRow("%s a file", operation) << operation << false;
        QTest::addRow("%s a folder", operation) << operation << true;
    }
    QTest::newRow("new folder") << "new folder" << true;
}

void FileOperationsTest::unwritableFolderReportsFailure()
{
    QFETCH(QString, operation);
    QFETCH(bool, isFolder);
    const QString unwritable = "/sys";
    const QString name = "kestrel-test $(touch INJECTED)";
    if (QFileInfo::exists(unwritable + "/" + name))
        QSKIP("the unwritable folder already holds the test's name");
    Card card;
    card.make(card.files, name, isFolder);
    card.select(name);
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    if (operation == "new folder") {
        card.window->qListBox(unwritable);
        answers.type(name, "Ok").press("Ok");
        card.window->menuSelect(card.window->ids().newFolder);
    } else {
        answers.pick(unwritable).press("Ok").press("Ok");
        card.window->menuSelect(operation == "move" ? card.window->ids().move : card.window->ids().copy);
    }

    expectAllAnswered(answers);
    const QString message = answers.texts().last();
    QVERIFY2(message.startsWith("[" + name + "] failed!\n"), qPrintable(message));
    QVERIFY2(message.contains(unwritable + "/" + name), qPrintable(message));
    QVERIFY(!message.contains("success"));
    QVERIFY(!QFileInfo::exists(unwritable + "/" + name));
    QCOMPARE(card.tree(), before);
    QCOMPARE(card.injected(), QStringList());
}

void FileOperationsTest::missingSourceReportsFailure_data()
{
    QTest::addColumn<QString>("operation");
    for (const char* operation : {"rename", "copy", "move", "delete"})
        QTest::newRow(operation) << operation;
}

// The entry went away after the folder was listed.
void FileOperationsTest::missingSourceReportsFailure()
{
    QFETCH(QString, operation);
    const QString name = "gone \"soon\"";
    Card card;
    card.make(card.files, name, false);
    card.select(name);
    QVERIFY(QFile::remove(card.files + "/" + name));
    const TreeListing before = card.tree();

    DialogAnswerer answers;
    const My_Widget::MenuIds& ids = card.window->ids();
    if (operation == "rename") {
        answers.type("new name", "Ok").press("Ok");
        card.window->menuSelect(ids.rename);
    } else if (operation == "delete") {
        answers.press("Ok");
        card.window->menuSelect(ids.del);
    } else {
        answers.pick(card.dest).press("Ok").press("Ok");
        card.window->menuSelect(operation == "copy" ? ids.copy : ids.move);
    }

    expectAllAnswered(answers);
    const QString message = answers.texts().last();
    if (operation == "delete") {
        QCOMPARE(answers.texts(), QStringList("[" + name + "] no longer exists"));
    } else {
        QVERIFY2(message.startsWith("[" + name + "] failed!\n"), qPrintable(message));
        QVERIFY2(message.contains("No such file or directory"), qPrintable(message));
    }
    QCOMPARE(card.tree(), before);
}

QTEST_MAIN(FileOperationsTest)
#include "tst_fileops.moc"
