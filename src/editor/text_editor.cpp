#include "editor/text_editor.h"

#include "platform/icons.h"
#include "platform/messagebox.h"
#include "platform/multilineedit.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "core/text.h"
#include "editor/file_dialog.h"

#include <QCloseEvent>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

QPixmap icon(const char* name)
{
    return RES_ICON_Reader().getIcon(QString::fromLatin1(name), true);
}

void showError(QWidget* parent, const QString& text)
{
    ZMessageBox::information(parent, icon("Dialog_Error.gif"), text, CN("Close"));
}

QByteArray digestOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

// Null when the file cannot be read: then nothing of it could be kept anyway.
QByteArray digestOfFile(const QString& name)
{
    QFile file(name);
    QCryptographicHash digest(QCryptographicHash::Sha1);
    if (!file.open(QIODevice::ReadOnly) || !digest.addData(&file))
        return QByteArray();
    return digest.result();
}

}  // namespace

TextEditor::TextEditor(const QString& file, QWidget* parent, const char* name, Qt::WindowFlags flags)
    : ZMainWidget(file, true, parent, name, flags)
{
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    setContentWidget(content);
    setGeometry(0, 0, screenWidth, screenHeight);

    editor = new ZMultiLineTextEdit(content, false, 10, nullptr);
    editor->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(editor);

    auto* softKeys = new UTIL_CST(this, CN("decode"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);

    menuEncoding = new PopupMenu(softKeys);
    for (int id = 0; id < encodingCount; ++id)
        menuEncoding->insertItem(CN(encodingName(id)), id, -1);
    markEncoding(Utf8);
    connect(menuEncoding, &PopupMenu::activated, this, &TextEditor::menuSelect);
    softKeys->getMidBtn()->setPopup(menuEncoding);

    menuFile = new PopupMenu(softKeys);
    menuFile->insertSeparator();
    wrapId = menuFile->insertItem(CN("Wrap"));
    connect(menuFile->itemAction(wrapId), &QAction::triggered, this, &TextEditor::cmwrap);
    menuFile->insertItem(CN("Save"), saveItem, 1);
    menuFile->insertItem(CN("SaveAs..."), saveAsItem, 2);
    connect(menuFile, &PopupMenu::activated, this, &TextEditor::selectMenu);
    softKeys->getLeftBtn()->setPopup(menuFile);

    path = file;
    load1(path, Utf8);
    showFileName();
}

void TextEditor::showFileName()
{
    getTitleBarWidget()->setText(CN("File :") + "[ " + QFileInfo(path).fileName() + " ]");
}

void TextEditor::markEncoding(int id)
{
    for (int item = 0; item < encodingCount; ++item)
        menuEncoding->setItemChecked(item, item == id);
}

// The menu has already toggled the chosen row's mark; the marks are set again either way.
void TextEditor::menuSelect(int id)
{
    if (load1(path, id) && id >= 0 && id < encodingCount)
        encoding = id;
    markEncoding(encoding);
}

void TextEditor::selectMenu(int id)
{
    if (id == saveItem)
        save();
    else if (id == saveAsItem)
        showSaveDialog();
}

void TextEditor::cmwrap()
{
    editor->setWordWrap(wrapOnNext ? ZMultiLineTextEdit::WidgetWidth : ZMultiLineTextEdit::NoWrap);
    menuFile->setItemChecked(wrapId, wrapOnNext);
    wrapOnNext = !wrapOnNext;
}

bool TextEditor::load()
{
    if (!editor->edited())
        return true;
    const int answer = ZMessageBox::information(this, icon("Dialog_Waiting.gif"), CN("File is changed. Save ?"),
                                                CN("Save"), CN("Ok"), CN("Cancel"));
    if (answer == 0)
        return save();  // a save that did not happen keeps the changes
    return answer == 1;
}

bool TextEditor::readFile(const QString& file, QByteArray* bytes)
{
    QFile in(file);
    const bool opened = QFileInfo(file).isFile() && in.open(QIODevice::ReadOnly);
    if (opened && in.size() > largestFile) {
        showError(this, "[" + QFileInfo(file).fileName() + CN("] is larger than ") + QString::number(largestFile >> 20)
                            + CN(" MB: too large to edit"));
        return false;
    }
    if (opened)
        *bytes = in.readAll();
    if (!opened || in.error() != QFileDevice::NoError) {
        ZMessageBox::timerMessage(this, icon("Dialog_Error.gif"), CN("file not open ..."), 1, 1);
        return false;
    }
    return true;
}

bool TextEditor::load1(const QString& file, int id)
{
    if (file.isEmpty())
        return true;  // a new file: nothing to read
    if (!load())
        return false;
    QByteArray bytes;
    if (!readFile(file, &bytes))
        return true;
    const DecodedText decoded = decodeText(bytes, id);
    editor->setUpdatesEnabled(false);
    editor->setText(decoded.text);
    editor->setUpdatesEnabled(true);
    editor->setCursorPosition(0, 0);
    editor->viewport()->update();
    editor->setEdited(false);
    format = decoded.format;
    fileDigest = digestOf(bytes);
    // Characters the editor cannot hold as they are (a lone carriage return) count too.
    readInexactly = !decoded.exact || editor->text() != decoded.text;
    textOfFile = true;
    return true;
}

bool TextEditor::save()
{
    if (path.isEmpty())
        return showSaveDialog();
    return writeText(path, !textOfFile);
}

bool TextEditor::saveAs(const QString& name)
{
    return writeText(name, true);
}

bool TextEditor::writeText(const QString& name, bool askBeforeOverwrite)
{
    if (askBeforeOverwrite && QFileInfo::exists(name)
        && ZMessageBox::information(this, icon("Dialog_Waiting.gif"), CN("File already exist, overwrite?"),
                                    CN("Ok"), CN("Cancel"))
               != 0)
        return false;
    if (!askBeforeOverwrite && changedSinceRead(name)
        && ZMessageBox::information(this, icon("Dialog_Waiting.gif"),
                                    "[" + QFileInfo(name).fileName()
                                        + CN("] was changed by another program since it was opened. Save over it?"),
                                    CN("Ok"), CN("Cancel"))
               != 0)
        return false;
    TextFormat target = format;
    target.encoding = encoding;
    const EncodedText encoded = encodeText(editor->text(), target);
    if ((!encoded.exact || readInexactly)
        && ZMessageBox::information(this, icon("Dialog_Exclamatory_Mark.gif"),
                                    "[" + QFileInfo(name).fileName() + CN("] cannot be saved exactly in ")
                                        + CN(encodingName(encoding)) + CN("; save anyway?"),
                                    CN("Save"), CN("Cancel"))
               != 0)
        return false;
    if (!writeFile(name, encoded.bytes))
        return false;
    editor->setEdited(false);
    fileDigest = digestOf(encoded.bytes);
    format = target;
    readInexactly = false;
    textOfFile = true;
    ZMessageBox::timerMessage(this, icon("Dialog_Complete.gif"), CN("Save success..."), 1, 1);
    return true;
}

// The bytes go to a new file beside the old one, which is replaced only once all of them
// are written; a failure leaves the old file as it was.
bool TextEditor::writeFile(const QString& name, const QByteArray& bytes)
{
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        showError(this, CN("Don't save system file!"));
        return false;
    }
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        showError(this, "[" + QFileInfo(name).fileName() + CN("] not saved, the file is as it was:\n") + reason);
        return false;
    }
    return true;
}

bool TextEditor::changedSinceRead(const QString& name) const
{
    const QByteArray now = digestOfFile(name);
    return !now.isNull() && now != fileDigest;
}

bool TextEditor::showSaveDialog()
{
    FileDialog dialog(true, CN("SaveAs").toLatin1().constData(), true, this, nullptr, 0);
    if (!chosenFolder.isEmpty())
        dialog.setDir(chosenFolder);
    if (dialog.exec() != 1)
        return false;
    chosenFolder = dialog.getFilePath();
    const QString name = dialog.getFileName();
    if (!saveAs(name))
        return false;
    path = name;
    showFileName();
    return true;
}

void TextEditor::closeEvent(QCloseEvent* event)
{
    if (load())
        event->accept();
    else
        event->ignore();
}
