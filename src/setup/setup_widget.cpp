#include "setup/setup_widget.h"

#include "platform/softkeys.h"
#include "platform/widgets.h"
#include "core/settings.h"
#include "core/text.h"

#include <QComboBox>
#include <QLabel>

namespace {

// The rows with a list of choices, top to bottom; the stored value is the chosen index.
struct ChoiceRow {
    const char* key;
    const char* label;
    const char* labelName;
    const char* listName;
    QStringList items;
    int y;
};

const ChoiceRow choiceRows[] = {
    {"Taxis", "Sort", "sotr", "bo_a", {"by Name    ", "by Time    ", "by Size    "}, 10},
    {"Hide", "hide file", "lp_b", "bo_b", {"Hide       ", "Show       "}, 45},
    {"click", "Open in", "lp_c", "bo_c", {"Single-click", "Double-click", "Double/single"}, 80},
    {"window", "Scr mode", "lp_e", "bo_c", {"Windows    ", "Full Screen"}, 115},
};

const int passwordY = 150;
const int labelX = 5;
const int listX = 90;
const int passwordX = 85;
const int passwordWidth = 130;

// Text that is not a number, or a number beyond the list, chooses the first item.
int storedIndex(const QString& value, int count)
{
    const int index = value.toInt();
    return index >= 0 && index < count ? index : 0;
}

void addLabel(ZScrollView* view, const char* text, const char* name, int y)
{
    auto* label = new QLabel(CN(text), view->viewport());
    label->setObjectName(name);
    view->addChild(label, labelX, y);
}

QComboBox* addChoiceRow(ZScrollView* view, const ChoiceRow& choice, const QString& stored)
{
    addLabel(view, choice.label, choice.labelName, choice.y);
    auto* list = new QComboBox(view->viewport());
    list->setObjectName(choice.listName);
    for (const QString& item : choice.items)
        list->addItem(CN(item));
    view->addChild(list, listX, choice.y);
    list->setCurrentIndex(storedIndex(stored, list->count()));
    return list;
}

}  // namespace

SetupWidget::SetupWidget(QWidget* parent)
    : ZMainWidget(CN("General setup"), true, parent, nullptr, {}),
      messages(this, "Dialog_Exclamatory_Mark.gif")
{
    auto* scrollView = new ZScrollView(this, "sv");
    setContentWidget(scrollView);
    for (const ChoiceRow& choice : choiceRows)
        choiceLists << addChoiceRow(scrollView, choice, iniRead(choice.key));

    addLabel(scrollView, "Set pass", "lp_d", passwordY);
    passwordField = new ZMultiLineEdit(this, true, 1);
    // Stored as UTF-8 bytes, shown as the text typed at the start-up prompt.
    passwordField->setText(fromStoredBytes(iniRead("PassWord")));
    passwordField->setEchoMode(ZMultiLineEdit::Password);
    passwordField->setFixedWidth(passwordWidth);
    scrollView->addChild(passwordField, passwordX, passwordY);

    auto* softKeys = new UTIL_CST(this, CN("Save"), "CST_Menu", "CST_Exit");
    setCSTWidget(softKeys);
    connect(softKeys->getRightBtn(), &QPushButton::clicked, this, &QWidget::close);
    connect(softKeys->getMidBtn(), &QPushButton::clicked, this, &SetupWidget::frite);
}

QString SetupWidget::iniRead(const QString& key) const
{
    return ::iniRead(key);
}

bool SetupWidget::iniWrite(const QString& key, const QString& value)
{
    return iniWriteFile(workingFile("system.txt"), key, value);
}

void SetupWidget::showDialog(QString text)
{
    messages.show(text);
}

void SetupWidget::frite()
{
    QStringList notSaved;
    for (int row = 0; row < choiceLists.size(); ++row) {
        const ChoiceRow& choice = choiceRows[row];
        if (!iniWrite(choice.key, QString::number(choiceLists[row]->currentIndex(), 10)))
            notSaved << CN(choice.label) + " (" + choice.key + ")";
    }
    if (!iniWrite("PassWord", passwordField->text()))
        notSaved << CN("Set pass (PassWord)");
    showDialog(notSaved.isEmpty() ? CN("saved pleas restart to apply")
                                  : CN("Not saved: ") + notSaved.join(", ")
                                        + CN("\nsystem.txt has no line for it or cannot be written"));
    close();
}
