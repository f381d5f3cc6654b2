#include "editor/file_dialog.h"

#include "core/paths.h"
#include "core/phonefolders.h"
#include "platform/icons.h"
#include "platform/messagebox.h"
#include "platform/popupmenu.h"
#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "core/text.h"
#include "commands/transfer.h"
#include "editor/file_browser.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

FileDialog::FileDialog(bool save, const char* caption, bool editorMode, QWidget* parent, const char* name,
                       unsigned int flags)
    : ZMainWidget(QString::fromLatin1(caption), editorMode, parent, name, Qt::WindowFlags::fromInt(int(flags))),
      saveMode(save)
{
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setContentWidget(content);

    // The name is one line: the row is as high as the field, so the list keeps the room.
    const int lineHeight = ZGlobal::getLineHeight();
    auto* nameRow = new ZScrollView(content);
    column->addWidget(nameRow);
    auto* label = new QLabel(CN(" FileName:"));
    const int labelWidth = label->fontMetrics().horizontalAdvance(label->text()) + 3;
    label->setMinimumSize(labelWidth, lineHeight);
    fileName = new ZMultiLineEdit(nullptr, true, 3, nullptr);
    fileName->setFixedSize(screenWidth - labelWidth - 6, lineHeight);
    fileName->setFilter(QRegularExpression(QStringLiteral("[^\\n\\r?/<>\\\\:\"*]")), true);
    nameRow->addChild(label, 0, 0);
    nameRow->addChild(fileName, labelWidth, 0);
    nameRow->setFixedHeight(lineHeight + 2 * nameRow->frameWidth() + 2);

    browser = new FileBrowser(CN("*.cfg *.dhm *.ini *.lin *.phm *.sh *.txt *.htm *.html *.xml"), content, "browser");
    browser->setDir(phoneFolders().diska);
    browser->setFrameStyle(browser->frameStyle() & QFrame::Shadow_Mask);
    browser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(browser);
    connect(browser, &FileBrowser::isFilePicked, this, &FileDialog::filePicked);

    // The middle key is labelled with the caption.
    auto* softKeys = new UTIL_CST(this, windowTitle(), "CST_Menu", "CST_Back");
    setCSTWidget(softKeys);
    middleKey = softKeys->getMidBtn();
    middleKey->setEnabled(false);
    connect(middleKey, &QPushButton::clicked, this, &FileDialog::accept);
    if (saveMode)
        connect(fileName, &QLineEdit::textChanged, this, &FileDialog::textChanged);
    else
        connect(browser, &FileBrowser::isFilePicked, middleKey, &QWidget::setEnabled);
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &FileDialog::reject);

    menuLeft = new PopupMenu(softKeys);
    menuLeft->insertItem(CN("Delete"), deleteItem, -1);
    menuLeft->setItemEnabled(deleteItem, false);
    menuLeft->insertSeparator();
    menuLeft->insertItem(CN("System Dir"), systemDir, -1);
    menuLeft->insertItem(CN("Phone Dir"), phoneDir, -1);
    menuLeft->insertItem(CN("SD card"), sdCard, -1);
    menuLeft->insertSeparator();
    menuLeft->insertItem(CN("Setup Dir"), setupDir, -1);
    connect(menuLeft, &PopupMenu::activated, this, &FileDialog::selectMenu);
    softKeys->getLeftBtn()->setPopup(menuLeft);
}

int FileDialog::exec()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    if (!loop) {
        QEventLoop nested;
        loop = &nested;
        nested.exec();
    }
    return result;
}

void FileDialog::done(int r)
{
    hide();
    if (loop) {
        loop->quit();
        loop = nullptr;
    }
    result = r;
}

void FileDialog::accept()
{
    done(1);
}

void FileDialog::reject()
{
    done(0);
}

void FileDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    reject();
}

void FileDialog::setDir(const QString& path)
{
    browser->setDir(path);
}

QString FileDialog::getFileName() const
{
    if (!saveMode)
        return browser->pickedFile();
    return joinPath(browser->currentFolder(), fileName->text().simplified());
}

QString FileDialog::getFilePath() const
{
    return browser->currentFolder();
}

void FileDialog::selectMenu(int id)
{
    const PhoneFolders& folders = phoneFolders();
    switch (id) {
    case deleteItem:
        deletePicked();
        break;
    case systemDir:
        setDir(folders.systemDir);
        break;
    case phoneDir:
        setDir(folders.phoneDir);
        break;
    case sdCard:
        setDir(folders.card);
        break;
    case setupDir:
        setDir(folders.setupDir);
        break;
    default:
        break;
    }
}

// A row that is not a file, or a new folder, keeps the name typed so far.
void FileDialog::filePicked(bool picked)
{
    if (saveMode && picked)
        fileName->setText(browser->currentText());
    menuLeft->setItemEnabled(deleteItem, picked);
}

// A name of blanks only would name the folder itself.
void FileDialog::textChanged()
{
    if (saveMode)
        middleKey->setEnabled(!fileName->text().simplified().isEmpty());
}

void FileDialog::deletePicked()
{
    const QString file = browser->pickedFile();
    if (file.isEmpty() || !QFileInfo::exists(file))
        return;
    QString question = CN("Delete files ?");
    if (isInside(file, phoneFolders().systemDir))
        question = CN("I'am not responsible for any damage you made on your phone!\n") + question;
    const QPixmap icon = RES_ICON_Reader().getIcon("Dialog_Empty_Trash.gif", true);
    if (ZMessageBox::information(this, icon, question, CN("Delete"), CN("Cancel")) != 0)
        return;
    const TransferPlan plan = planTransfer(Transfer::Delete, file, QString());
    const CommandResult result = runTransfer(plan);
    if (result.succeeded())
        setDir(browser->currentFolder());
    else
        ZMessageBox::information(this, RES_ICON_Reader().getIcon("Dialog_Error.gif", true),
                                 "[" + QFileInfo(file).fileName() + CN("] not deleted: ") + result.failureText(1),
                                 CN("Close"));
}
