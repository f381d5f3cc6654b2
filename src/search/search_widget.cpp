#include "search/search_widget.h"

#include "core/filetypes.h"
#include "core/phonefolders.h"
#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "core/text.h"
#include "core/folder_reader.h"
#include "commands/job.h"
#include "search/f_file_8_n.h"
#include "search/file_walk.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QStringMatcher>

namespace {

constexpr int otherBox = 5;

// The extensions of a listed type, in the order of the boxes: Images, Video, Audio, Notes, Soft.
QStringList typeExtensions(int box)
{
    switch (box) {
    case 0:
        return searchExtensions({FileKind::Image});
    case 1:
        return searchExtensions({FileKind::Video});
    case 2:
        return searchExtensions({FileKind::Audio});
    case 3:
        return searchExtensions({FileKind::Text});
    default:
        return searchExtensions({FileKind::JavaProgram, FileKind::JavaDescriptor, FileKind::PhonePackage,
                                 FileKind::PhoneProgram});
    }
}

// The files a search accepts. The name holds the text, case ignored, or matches it as a
// wildcard pattern. The type is one of the lists, or, for "Other", none of them; an
// extension that begins a listed one counts as that type.
class FileTest
{
public:
    enum TypeRule { AnyType, Listed, NotListed };

    FileTest(const QString& text, TypeRule rule, const QString& lists)
        : lowerText(text.toLower(), Qt::CaseSensitive), rule(rule), lists(lists)
    {
        static const QRegularExpression wildcard(QStringLiteral("[*?[]"));
        for (const QString& pattern : QDir::nameFiltersFromString(text)) {
            // The whole text as a plain name is found by the substring test already.
            if (pattern != text || pattern.contains(wildcard))
                patterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                               QRegularExpression::CaseInsensitiveOption);
        }
    }

    bool operator()(const FolderEntry& file) const { return nameMatches(file) && typeMatches(file.name); }

private:
    bool nameMatches(const FolderEntry& file) const
    {
        if (lowerText.indexIn(file.lowerName) >= 0)
            return true;
        for (const QRegularExpression& pattern : patterns)
            if (pattern.match(file.name).hasMatch())
                return true;
        return false;
    }

    bool typeMatches(const QString& name) const
    {
        if (rule == AnyType)
            return true;
        const QString extension = Search_Widget::exef(name);
        return (!extension.isEmpty() && lists.contains("|." + extension)) == (rule == Listed);
    }

    QStringMatcher lowerText;
    QList<QRegularExpression> patterns;
    TypeRule rule;
    QString lists;
};

// The test the boxes ask for: the types of the checked boxes, with "Other" the files of none
// of the unchecked ones, with no box any file.
FileTest formTest(const QString& text, QCheckBox* const (&boxes)[6])
{
    QString checked, unchecked;
    for (int type = 0; type < otherBox; ++type)
        (boxes[type]->isChecked() ? checked : unchecked) += "|." + typeExtensions(type).join("|.");
    if (boxes[otherBox]->isChecked())
        return FileTest(text, FileTest::NotListed, unchecked);
    return FileTest(text, checked.isEmpty() ? FileTest::AnyType : FileTest::Listed, checked);
}

// The folder trees of each place, in the order they are walked.
QStringList placeRoots(int place)
{
    const PhoneFolders& phone = phoneFolders();
    switch (place) {
    case 1:
        return {phone.diska};
    case 2:
        return {phone.card};
    default:
        return {phone.card, phone.phoneDir};
    }
}

QLabel* formLabel(QWidget* window, const char* text, int x, int y)
{
    auto* label = new QLabel(CN(text), window);
    label->setObjectName("la");
    label->setGeometry(x, y, label->sizeHint().width(), 28);
    label->show();
    return label;
}

QCheckBox* formBox(QWidget* window, const char* text, const char* name, int x, int y)
{
    auto* box = new QCheckBox(CN(text), window);
    box->setObjectName(name);
    box->move(x, y);
    box->adjustSize();
    box->show();
    return box;
}

}  // namespace

Search_Widget::Search_Widget(QWidget* parent)
    : ZMainWidget(CN("Search"), true, parent, nullptr, {}),
      messages(this, "Dialog_Empty_Trash.gif")
{
    // The form lies on top of the empty content.
    auto* content = new QLabel(QString(), this);
    content->setObjectName("main_label");
    setContentWidget(content);
    content->show();

    formLabel(this, "Dir :", 10, 35);
    placeBox = new QComboBox(this);
    placeBox->setObjectName("CB");
    placeBox->setEditable(false);
    placeBox->setGeometry(60, 35, 160, 28);
    placeBox->addItems({CN("ALL Folder"), CN("Phone Dirs"), CN("SD card")});
    placeBox->show();

    formLabel(this, "FileName:", 10, 70);
    nameField = new ZMultiLineEdit(this, true, 1, "Edit");
    nameField->setEdited(true);
    // Unlike a name to create, a search text may hold "*": it matches as a wildcard.
    nameField->setFilter(QRegularExpression(QStringLiteral("[^\\n\\r?/<>\\\\:\"]")), true);
    nameField->setGeometry(10, 100, 220, 28);
    nameField->show();
    nameField->setFocus();

    formLabel(this, "search in", 10, 130);
    hiddenBox = formBox(this, "hiden dir", "CBg", 90, 130);
    typeBoxes[0] = formBox(this, "Images", "CBa", 10, 160);
    typeBoxes[1] = formBox(this, "Video", "CBb", 90, 160);
    typeBoxes[4] = formBox(this, "Soft", "CBe", 170, 160);
    typeBoxes[2] = formBox(this, "Audio", "CBc", 10, 190);
    typeBoxes[3] = formBox(this, "Notes", "CBd", 90, 190);
    typeBoxes[otherBox] = formBox(this, "Other", "CBf", 170, 190);

    softKeys = new UTIL_CST(this, CN("Search"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    softKeys->show();
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    connect(softKeys->getMidBtn(), &QPushButton::clicked, this, &Search_Widget::CFile);
}

Search_Widget::~Search_Widget() = default;

QString Search_Widget::exef(const QString& name)
{
    return fileExtension(name);
}

void Search_Widget::sltRestoreGUI(QString folder)
{
    close();
    emit onNeedGUI(folder);
}

void Search_Widget::showDialog(QString text)
{
    messages.show(text);
}

// Walks the place's folder trees with a running count in the busy strip, then shows what was
// found, nothing too, in a new results window.
void Search_Widget::CFile()
{
    walk = std::make_unique<FileWalk>(hiddenBox->isChecked(), formTest(nameField->text(), typeBoxes));
    {
        Job job;
        walk->onProgress = [this, &job] {
            job.show(QStringLiteral("%1 folders, %2 files").arg(walk->foldersSeen()).arg(walk->filesSeen()));
            job.poll();
            if (job.stopped())
                walk->stop();
        };
        for (const QString& root : placeRoots(placeBox->currentIndex()))
            SFile(root);
    }
    auto* results = new F_File_8_N(this, walk->names(), walk->folders());
    walk.reset();
    results->show();
    connect(results, &F_File_8_N::onNeedGUI, this, &Search_Widget::sltRestoreGUI);
}

void Search_Widget::SFile(const QString& folder)
{
    walk->walk(folder);
}
