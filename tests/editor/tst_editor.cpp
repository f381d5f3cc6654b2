#include "core/phonefolders.h"
#include "platform/multilineedit.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "editor/file_dialog.h"
#include "editor/text_editor.h"

#include "dialogs.h"
#include "workfolder.h"

#include <QApplication>
#include <QTest>


namespace {

// The texts of the timed notices shown so far; they are closed on the way.
QStringList takeNotices()
{
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "timerMessage" && window->isVisible() && window->close())
            texts << DialogAnswerer::textOf(window);
    return texts;
}

void typeAtEnd(TextEditor& editor, const QString& text)
{
    editor.textEdit()->moveCursor(QTextCursor::End);
    editor.textEdit()->insertPlainText(text);
}

}  // namespace

class EditorTest : public QObject
{
    Q_OBJECT
private slots:
    void savingWritesTheTextExactlyOrAsksFirst_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer");  // to "... cannot be saved exactly ..."; empty: not asked
        QTest::addColumn<QByteArray>("saved");
        // A byte order mark stays in the text, so that it is written back.
        const QString mark(QChar(0xfeff));
        QTest::newRow("ISO 8859-1, no-break space") << int(Latin1) << QByteArray("caf\xe9 \xa0") << "caf\u00e9 \u00a0" << "Z" << "" << QByteArray("caf\xe9 \xa0Z");
        QTest::newRow("GBK, CR LF line ends") << int(Gbk) << QByteArray("\xd6\xd0\r\nab\r\n") << "\u4e2d\nab\n" << "\u6587" << "" << QByteArray("\xd6\xd0\r\nab\r\n\xce\xc4");
        QTest::newRow("UTF-8, byte order mark") << int(Utf8) << QByteArray("\xef\xbb\xbfh") << mark + "h" << "\u00e9" << "" << QByteArray("\xef\xbb\xbfh\xc3\xa9");
        QTest::newRow("UTF-16 big endian") << int(Utf16) << QByteArray("\xfe\xff\0h", 4) << mark + "h" << "Z" << "" << QByteArray("\xfe\xff\0h\0Z", 6);
        QTest::newRow("ISO 8859-1 lacks it, Save") << int(Latin1) << QByteArray("ab") << "ab" << "\u4e2d" << "Save" << QByteArray("ab?");
        QTest::newRow("not UTF-8, Cancel") << int(Utf8) << QByteArray("a\xff") << "a\ufffd" << "" << "Cancel" << QByteArray("a\xff");
        QTest::newRow("line ends of both kinds") << int(Utf8) << QByteArray("a\r\nb\nc") << "a\nb\nc" << "" << "Save" << QByteArray("a\r\nb\r\nc");
    }

    // Read in the chosen encoding, something typed at the end, then "Save".
    void savingWritesTheTextExactlyOrAsksFirst()
    {
        QFETCH(int, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QFETCH(QByteArray, saved);
        WorkFolder work;
        work.write("note.txt", bytes);
        QFile::setPermissions(work.file("note.txt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QFile::Permissions permissions = QFile::permissions(work.file("note.txt"));
        TextEditor editor(work.file("note.txt"));
        editor.encodingMenu()->itemAction(encoding)->trigger();
        QCOMPARE(editor.textEdit()->text(), text);
        DialogAnswerer answers;
        if (!answer.isEmpty())
            answers.press(answer);
        typeAtEnd(editor, typed);
        editor.fileMenu()->itemAction(TextEditor::saveItem)->trigger();
        expectAllAnswered(answers);
        QCOMPARE(answers.texts().join(""), answer.isEmpty() ? "" : "[note.txt] cannot be saved exactly in " + encodingName(encoding) + "; save anyway?");
        QCOMPARE(takeNotices(), answer == "Cancel" ? QStringList() : QStringList{"Save success..."});
        QCOMPARE(work.read("note.txt"), saved);
        QCOMPARE(QFile::permissions(work.file("note.txt")), permissions);
        QCOMPARE(editor.textEdit()->edited(), answer == "Cancel" && !typed.isEmpty());
    }

    void noChangeIsLostUnasked_data()
    {
        QTest::addColumn<QString>("action");  // "close", "reload" in ISO 8859-1, "changed" by another program, or the name to save as
        QTest::addColumn<QString>("answer");  // empty: not asked
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("files");  // each "name=text", after a further "?" and plain save
        QTest::newRow("close, Save") << "close" << "Save" << "\u00e9!" << "note.txt=\u00e9! other.txt=b";
        QTest::newRow("close, Ok") << "close" << "Ok" << "\u00e9!" << "note.txt=\u00e9 other.txt=b";
        QTest::newRow("reload, Ok") << "reload" << "Ok" << "\u00c3\u00a9" << "note.txt=\u00e9? other.txt=b";
        QTest::newRow("reload, Cancel") << "reload" << "Cancel" << "\u00e9!" << "note.txt=\u00e9!? other.txt=b";
        QTest::newRow("changed by another program, Ok") << "changed" << "Ok" << "\u00e9!" << "note.txt=\u00e9!? other.txt=b";
        QTest::newRow("changed by another program, Cancel") << "changed" << "Cancel" << "\u00e9!" << "note.txt=x other.txt=b";
        QTest::newRow("save as a new name") << "new.txt" << "" << "\u00e9!" << "new.txt=\u00e9!? note.txt=\u00e9 other.txt=b";
        QTest::newRow("save as an existing name, Ok") << "other.txt" << "Ok" << "\u00e9!" << "note.txt=\u00e9 other.txt=\u00e9!?";
        QTest::newRow("save as an existing name, Cancel") << "other.txt" << "Cancel" << "\u00e9!" << "note.txt=\u00e9!? other.txt=b";
    }

    // "!" typed, then the action; a plain save goes on to the file then edited, without asking.
    void noChangeIsLostUnasked()
    {
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QFETCH(QString, text);
        QFETCH(QString, files);
        WorkFolder work;
        work.write("note.txt", "\xc3\xa9");
        work.write("other.txt", "b");
        TextEditor editor(work.file("note.txt"));
        editor.show();
        typeAtEnd(editor, "!");
        DialogAnswerer answers;
        const bool savingAs = action.endsWith(".txt");
        if (savingAs)
            answers.then([&work, action](QWidget* window) {
                auto* dialog = qobject_cast<FileDialog*>(window);
                QVERIFY2(dialog, "the save dialog did not come");
                dialog->nameField()->setText(action);
                handsetFolders().card = work.path();
                dialog->menu()->itemAction(FileDialog::sdCard)->trigger();
                QVERIFY2(dialog->acceptKey()->isEnabled(), "the typed name was lost");
                dialog->acceptKey()->click();
            });
        if (!answer.isEmpty())
            answers.press(answer);
        if (savingAs)
            editor.fileMenu()->itemAction(TextEditor::saveAsItem)->trigger();
        else if (action == "changed")
            work.write("note.txt", "x");
        else if (action == "close")
            static_cast<UTIL_CST*>(editor.getCSTWidget())->getRightBtn()->click();
        else
            editor.encodingMenu()->itemAction(Latin1)->trigger();
        QCOMPARE(editor.textEdit()->text(), text);
        QCOMPARE(editor.encodingMenu()->isItemChecked(Latin1), action == "reload" && answer == "Ok");
        QCOMPARE(editor.isVisible(), action != "close");
        typeAtEnd(editor, "?");
        if (editor.isVisible())
            editor.fileMenu()->itemAction(TextEditor::saveItem)->trigger();
        expectAllAnswered(answers);
        const QString question = savingAs ? "File already exist, overwrite?"
            : action == "changed" ? "[note.txt] was changed by another program since it was opened. Save over it?" : "File is changed. Save ?";
        QCOMPARE(answers.texts().mid(savingAs ? 1 : 0).join(""), answer.isEmpty() ? "" : question);
        QStringList found;
        for (const QString& name : QDir(work.path()).entryList(QDir::Files))
            found << name + "=" + QString::fromUtf8(work.read(name));
        QCOMPARE(found.join(' '), files);
    }

    // A file the editor did not read is not replaced by a plain save without a question; a write
    // cut short by a file size limit, as on a full card, leaves the old file and the changes.
    void fileNotReadOrNotWrittenIsKept()
    {
        WorkFolder work;
        work.makeFolder("folder.txt");
        work.write("note.txt", "old text");
        QFile big(work.file("big.txt"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(TextEditor::largestFile + 1));
        TextEditor folder(work.file("folder.txt"));
        QCOMPARE(takeNotices(), QStringList{"file not open ..."});
        DialogAnswerer answers;
        answers.press("Close").press("Cancel").press("Close");
        TextEditor editor(work.file("big.txt"));
        typeAtEnd(editor, "short");
        editor.fileMenu()->itemAction(TextEditor::saveItem)->trigger();
        QCOMPARE(QFileInfo(work.file("big.txt")).size(), TextEditor::largestFile + 1);

        TextEditor note(work.file("note.txt"));
        typeAtEnd(note, QString(5000, 'n'));
        QVERIFY(!withFileSizeLimit(1000, [&] { return note.save(); }));
        QVERIFY(note.textEdit()->edited());
        expectAllAnswered(answers);
        QCOMPARE(answers.texts().mid(0, 2),
                 QStringList({"[big.txt] is larger than 16 MB: too large to edit", "File already exist, overwrite?"}));
        QVERIFY(answers.texts().value(2).startsWith("[note.txt] not saved, the file is as it was:\n"));
        QCOMPARE(work.read("note.txt"), QByteArray("old text"));
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList({"big.txt", "note.txt"}));
    }
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
