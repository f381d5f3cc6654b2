#include "app/platform/multilineedit.h"
#include "app/platform/popupmenu.h"
#include "app/platform/softkeys.h"
#include "app/platform/widgets.h"
#include "editor/file_browser.h"
#include "editor/file_dialog.h"
#include "editor/text_editor.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// The texts of the timed notices shown so far; they are closed on the way.
QStringList takeNotices()
{
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "timerMessage" && window->isVisible()) {
            texts << DialogAnswerer::textOf(window);
            window->close();
        }
    return texts;
}

void typeAtEnd(TextEditor& editor, const QString& text)
{
    editor.textEdit()->moveCursor(QTextCursor::End);
    editor.textEdit()->insertPlainText(text);
}

// The next dialog is the save dialog: choose the name in the folder and press its middle key.
std::function<void(QWidget*)> saveDialogAnswer(const QString& folder, const QString& name)
{
    return [folder, name](QWidget* window) {
        auto* dialog = qobject_cast<FileDialog*>(window);
        QVERIFY2(dialog, "the save dialog did not come");
        dialog->setDir(folder);
        dialog->nameField()->setText(name);
        dialog->acceptKey()->click();
    };
}

QStringList rowsOf(const FileBrowser* list)
{
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    return rows;
}

int rowOf(const FileBrowser* list, const QString& name)
{
    return int(rowsOf(list).indexOf(name));
}

}  // namespace

class EditorTest : public QObject
{
    Q_OBJECT
private slots:
    void textRoundTripsThroughEachEncoding_data();
    void textRoundTripsThroughEachEncoding();
    void lossySaveAsksFirst_data();
    void lossySaveAsksFirst();
    void failedWriteLeavesTheOldFile();
    void saveAsAsksOnlyForAnExistingName_data();
    void saveAsAsksOnlyForAnExistingName();
    void unsavedChangesAreAskedAbout_data();
    void unsavedChangesAreAskedAbout();
    void fileNotLoadedIsNotOverwrittenUnasked_data();
    void fileNotLoadedIsNotOverwrittenUnasked();
    void wrapTogglesWithItsMark();
    void saveDialogNameField_data();
    void saveDialogNameField();
    void saveDialogListAndDelete();
    void rendersTheWindows();
};

void EditorTest::textRoundTripsThroughEachEncoding_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("typed");  // "Z" as written at the end
    QTest::newRow("ISO 8859-1, no-break space") << 0 << QByteArray("caf\xe9 \xa0x\n") << "caf\u00e9 \u00a0x\n" << QByteArray("Z");
    QTest::newRow("GBK, CR LF line ends") << 1 << QByteArray("\xd6\xd0\xce\xc4\r\nab\r\n") << "\u4e2d\u6587\nab\n" << QByteArray("Z");
    QTest::newRow("Big5") << 2 << QByteArray("\xa4\xa4\xa4\xe5\n") << "\u4e2d\u6587\n" << QByteArray("Z");
    // The byte order mark stays in the text, so that it is written back.
    const QString mark(QChar(0xfeff));
    QTest::newRow("UTF-8 with a byte order mark") << 3 << QByteArray("\xef\xbb\xbfh\xc3\xa9\n") << mark + "h\u00e9\n" << QByteArray("Z");
    QTest::newRow("UTF-16 little endian") << 4 << QByteArray("\xff\xfeh\0i\0\n\0", 8) << mark + "hi\n" << QByteArray("Z\0", 2);
    QTest::newRow("UTF-16 big endian") << 4 << QByteArray("\xfe\xff\0h\0i", 6) << mark + "hi" << QByteArray("\0Z", 2);
}

// Read in the chosen encoding, one character typed, saved in place without a question.
void EditorTest::textRoundTripsThroughEachEncoding()
{
    QFETCH(int, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, typed);
    WorkFolder work;
    work.write("note.txt", bytes);
    QFile::setPermissions(work.file("note.txt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(work.file("note.txt"));
    TextEditor editor(work.file("note.txt"));
    editor.encodingMenu()->itemAction(encoding)->trigger();
    QCOMPARE(editor.textEdit()->text(), text);
    for (int id = 0; id < encodingCount; ++id)
        QCOMPARE(editor.encodingMenu()->isItemChecked(id), id == encoding);

    DialogAnswerer answers;
    typeAtEnd(editor, "Z");
    editor.fileMenu()->itemAction(1)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(takeNotices(), QStringList{"Save success..."});
    QCOMPARE(work.read("note.txt"), bytes + typed);
    QCOMPARE(QFile::permissions(work.file("note.txt")), permissions);
    QVERIFY(!editor.textEdit()->edited());
}

void EditorTest::lossySaveAsksFirst_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QString>("question");
    const QString latin1 = "[note.txt] cannot be saved exactly in ISO 8859-1; save anyway?";
    const QString utf8 = "[note.txt] cannot be saved exactly in Unicode/UTF-8; save anyway?";
    QTest::newRow("a character ISO 8859-1 lacks, cancelled") << QByteArray("ab") << 0 << "\u4e2d" << "Cancel" << QByteArray("ab") << latin1;
    QTest::newRow("a character ISO 8859-1 lacks, saved") << QByteArray("ab") << 0 << "\u4e2d" << "Save" << QByteArray("ab?") << latin1;
    QTest::newRow("bytes not UTF-8, cancelled") << QByteArray("a\xff") << 3 << "" << "Cancel" << QByteArray("a\xff") << utf8;
    QTest::newRow("bytes not UTF-8, saved") << QByteArray("a\xff") << 3 << "" << "Save" << QByteArray("a\xef\xbf\xbd") << utf8;
    QTest::newRow("a lone carriage return") << QByteArray("a\rb") << 3 << "" << "Cancel" << QByteArray("a\rb") << utf8;
    QTest::newRow("line ends of both kinds") << QByteArray("a\r\nb\nc") << 3 << "" << "Save" << QByteArray("a\r\nb\r\nc") << utf8;
}

void EditorTest::lossySaveAsksFirst()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QByteArray, saved);
    QFETCH(QString, question);
    WorkFolder work;
    work.write("note.txt", bytes);
    TextEditor editor(work.file("note.txt"));
    editor.encodingMenu()->itemAction(encoding)->trigger();
    typeAtEnd(editor, typed);
    DialogAnswerer answers;
    answers.press(answer);
    editor.fileMenu()->itemAction(1)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList{question});
    QCOMPARE(work.read("note.txt"), saved);
}

// A write cut short by a file size limit stands for a full card.
void EditorTest::failedWriteLeavesTheOldFile()
{
    WorkFolder work;
    work.write("note.txt", "old text");
    TextEditor editor(work.file("note.txt"));
    typeAtEnd(editor, QString(5000, 'n'));
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 1000;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    DialogAnswerer answers;
    answers.press("Close");
    const bool saved = editor.save();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    QVERIFY(!saved);
    expectAllAnswered(answers);
    QVERIFY2(answers.texts().value(0).startsWith("[note.txt] not saved, the file is as it was:"), qPrintable(answers.texts().value(0)));
    QCOMPARE(work.read("note.txt"), QByteArray("old text"));
    QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{"note.txt"});
    QVERIFY(editor.textEdit()->edited());
}

void EditorTest::saveAsAsksOnlyForAnExistingName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("answer");  // to "File already exist, overwrite?"; empty: not asked
    QTest::addColumn<bool>("written");
    QTest::newRow("a new name") << "new.txt" << "" << true;
    QTest::newRow("an existing name, Ok") << "other.txt" << "Ok" << true;
    QTest::newRow("an existing name, Cancel") << "other.txt" << "Cancel" << false;
}

void EditorTest::saveAsAsksOnlyForAnExistingName()
{
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(bool, written);
    WorkFolder work;
    work.write("note.txt", "mine");
    work.write("other.txt", "theirs");
    TextEditor editor(work.file("note.txt"));
    DialogAnswerer answers;
    answers.then(saveDialogAnswer(work.path(), name));
    if (!answer.isEmpty())
        answers.press(answer);
    editor.fileMenu()->itemAction(2)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(work.read(name) == "mine", written);
    QCOMPARE(editor.filePath(), work.file(written ? name : "note.txt"));
    QCOMPARE(editor.getTitleBarWidget()->text(), "File :[ " + QFileInfo(editor.filePath()).fileName() + " ]");

    // A plain save goes on to the file now edited, without asking.
    typeAtEnd(editor, "!");
    editor.fileMenu()->itemAction(1)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(work.read(QFileInfo(editor.filePath()).fileName()), QByteArray("mine!"));
}

void EditorTest::unsavedChangesAreAskedAbout_data()
{
    QTest::addColumn<bool>("closing");  // else choosing ISO 8859-1 reloads
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("marked");
    const QByteArray before = "\xc3\xa9";
    for (bool closing : {true, false}) {
        const char* action = closing ? "close, " : "reload, ";
        QTest::newRow((QByteArray(action) + "Save").constData()) << closing << "Save" << QByteArray("\xc3\xa9!")
                                                   << (closing ? "\u00e9!" : "\u00c3\u00a9!") << !closing << (closing ? 3 : 0);
        QTest::newRow((QByteArray(action) + "Ok").constData()) << closing << "Ok" << before << (closing ? "\u00e9!" : "\u00c3\u00a9")
                                                 << !closing << (closing ? 3 : 0);
        QTest::newRow((QByteArray(action) + "Cancel").constData()) << closing << "Cancel" << before << "\u00e9!" << true << 3;
    }
}

void EditorTest::unsavedChangesAreAskedAbout()
{
    QFETCH(bool, closing);
    QFETCH(QString, answer);
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(bool, open);
    QFETCH(int, marked);
    WorkFolder work;
    work.write("note.txt", "\xc3\xa9");
    TextEditor editor(work.file("note.txt"));
    editor.show();
    typeAtEnd(editor, "!");
    DialogAnswerer answers;
    answers.press(answer);
    if (closing)
        static_cast<UTIL_CST*>(editor.getCSTWidget())->getRightBtn()->click();
    else
        editor.encodingMenu()->itemAction(0)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(answers.texts(), QStringList{"File is changed. Save ?"});
    QCOMPARE(work.read("note.txt"), file);
    QCOMPARE(editor.textEdit()->text(), text);
    QCOMPARE(editor.isVisible(), open);
    for (int id = 0; id < encodingCount; ++id)
        QCOMPARE(editor.encodingMenu()->isItemChecked(id), id == marked);
}

void EditorTest::fileNotLoadedIsNotOverwrittenUnasked_data()
{
    QTest::addColumn<qint64>("size");  // -1: a folder of that name
    QTest::addColumn<QString>("message");
    QTest::newRow("too large") << TextEditor::largestFile + 1 << "[big.txt] is larger than 16 MB: too large to edit";
    QTest::newRow("a folder") << qint64(-1) << "file not open ...";
}

void EditorTest::fileNotLoadedIsNotOverwrittenUnasked()
{
    QFETCH(qint64, size);
    QFETCH(QString, message);
    WorkFolder work;
    if (size < 0) {
        work.makeFolder("big.txt");
    } else {
        QFile big(work.file("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(size));
    }
    DialogAnswerer answers;
    if (size >= 0)
        answers.press("Close");
    TextEditor editor(work.file("big.txt"));
    if (size < 0)
        QCOMPARE(takeNotices(), QStringList{message});
    else
        QCOMPARE(answers.texts(), QStringList{message});
    QCOMPARE(editor.textEdit()->text(), QString());

    typeAtEnd(editor, "short");
    answers.press("Cancel");
    editor.fileMenu()->itemAction(1)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(answers.texts().last(), "File already exist, overwrite?");
    const QFileInfo kept(work.file("big.txt"));
    QVERIFY(size < 0 ? kept.isDir() : kept.size() == size);
}

void EditorTest::wrapTogglesWithItsMark()
{
    TextEditor editor{QString()};
    const int wrap = editor.fileMenu()->actions().last()->data().toInt();
    QCOMPARE(editor.fileMenu()->text(wrap), "Wrap");
    for (bool wrapped : {true, false, true}) {
        editor.fileMenu()->itemAction(wrap)->trigger();
        QCOMPARE(editor.textEdit()->lineWrapMode() == QPlainTextEdit::WidgetWidth, wrapped);
        QCOMPARE(editor.fileMenu()->isItemChecked(wrap), wrapped);
    }
    QStringList order;
    for (QAction* action : editor.fileMenu()->actions())
        order << (action->isSeparator() ? "-" : action->text());
    QCOMPARE(order, QStringList({"-", "Save", "SaveAs...", "Wrap"}));
}

void EditorTest::saveDialogNameField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("blanks only") << "   " << false << "";
    QTest::newRow("blanks around and between") << "  my   notes.txt " << true << "my notes.txt";
    QTest::newRow("characters a card cannot hold") << "a/b:c*?.txt" << true << "abc.txt";
}

void EditorTest::saveDialogNameField()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    QFETCH(QString, name);
    WorkFolder work;
    FileDialog dialog(true, "SaveAs", true, nullptr, nullptr, 0);
    dialog.setDir(work.path());
    QVERIFY(!dialog.acceptKey()->isEnabled());
    QTest::keyClicks(dialog.nameField(), typed);
    QCOMPARE(dialog.acceptKey()->isEnabled(), enabled);
    QCOMPARE(dialog.getFileName(), QDir(work.path()).canonicalPath() + "/" + name);
}

void EditorTest::saveDialogListAndDelete()
{
    WorkFolder work;
    work.makeFolder("docs");
    for (const char* name : {"b.TXT", "a.jpg", ".hidden.ini", "ezxlocal/system.cfg"})
        work.write(name, "x");
    FileDialog dialog(true, "SaveAs", true, nullptr, nullptr, 0);
    FileBrowser* list = dialog.fileList();
    dialog.setDir(work.path());
    dialog.show();
    const QStringList rows = rowsOf(list);
    QCOMPARE(rows, QStringList({"..", "diska", "docs", "ezx_user", "ezxlocal", "mmc", ".hidden.ini", "b.TXT"}));

    // A file row names the file and allows "Delete"; a folder row empties the name.
    list->setCurrentItem(rowOf(list, "b.TXT"));
    QCOMPARE(dialog.nameField()->text(), "b.TXT");
    QVERIFY(dialog.menu()->isItemEnabled(FileDialog::deleteItem));
    list->setCurrentItem(rowOf(list, "docs"));
    QCOMPARE(dialog.nameField()->text(), QString());
    QVERIFY(!dialog.menu()->isItemEnabled(FileDialog::deleteItem));

    list->setCurrentItem(rowOf(list, "b.TXT"));
    DialogAnswerer answers;
    answers.press("Delete");
    dialog.menu()->itemAction(FileDialog::deleteItem)->trigger();
    QVERIFY(!QFile::exists(work.file("b.TXT")));
    QCOMPARE(list->count(), rows.size() - 1);
    QVERIFY(!dialog.menu()->isItemEnabled(FileDialog::deleteItem));

    // In the system folder the question warns first.
    dialog.menu()->itemAction(FileDialog::systemDir)->trigger();
    list->setCurrentItem(rowOf(list, "system.cfg"));
    answers.press("Cancel");
    dialog.menu()->itemAction(FileDialog::deleteItem)->trigger();
    expectAllAnswered(answers);
    QCOMPARE(answers.texts().last(), "I'am not responsible for any damage you made on your phone!\nDelete files ?");
    QVERIFY(QFile::exists(work.file("ezxlocal/system.cfg")));

    // A tap on a folder opens it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(40, UTIL_ListBox::rowHeight / 2));
    QCOMPARE(list->currentFolder(), QDir(work.path()).canonicalPath());
}

void EditorTest::rendersTheWindows()
{
    WorkFolder work;
    work.write("notes.txt", "Shopping list\n- bread\n- milk\n\nA longer line that runs on past the edge of the screen\n");
    TextEditor editor(work.file("notes.txt"));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.fileMenu()->itemAction(editor.fileMenu()->actions().last()->data().toInt())->trigger();
    QApplication::processEvents();
    const QImage shot = editor.grab().toImage();
    QCOMPARE(shot.size(), QSize(240, 320));
    QVERIFY(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("edit-window.png")));

    FileDialog dialog(true, "SaveAs", true, nullptr, nullptr, 0);
    dialog.setDir(work.path());
    dialog.nameField()->setText("notes copy.txt");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage dialogShot = dialog.grab().toImage();
    QCOMPARE(dialogShot.size(), QSize(240, 320));
    QVERIFY(dialogShot.save(QDir(QCoreApplication::applicationDirPath()).filePath("save-dialog.png")));
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
