#include "mainwindow/file_edit.h"

#include "platform/widgets.h"
#include "core/text.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

// Every character but line breaks and ? / < > \ : " *
QRegularExpression nameCharacters()
{
    return QRegularExpression(QStringLiteral("[^\\n\\r?/<>\\\\:\"*]"));
}

}  // namespace

QString F_File_Edit::getDirectory(QString title, QString initial)
{
    auto* dialog = new ZBaseDialog(nullptr, nullptr, true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* label = new QLabel(title, dialog);
    label->setObjectName("lp_d");
    label->setTextFormat(Qt::PlainText);  // the title carries a file name
    label->setWordWrap(true);
    label->move(5, 5);
    layout->addWidget(label);

    auto* edit = new ZMultiLineEdit(dialog, true, 1);
    edit->move(5, 70);
    edit->setText(initial);
    edit->setFilter(nameCharacters(), true);
    layout->addWidget(edit);

    dialog->addButtonRow(layout, CN("Ok"), CN("Cancel"));

    dialog->resize(220, 120);
    QString result;
    if (dialog->exec() == QDialog::Accepted && !edit->text().isNull())
        result = edit->text();
    delete dialog;
    return result;
}
