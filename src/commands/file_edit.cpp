#include "commands/file_edit.h"

#include "app/platform/softkeys.h"
#include "app/platform/widgets.h"
#include "app/text.h"

#include <QHBoxLayout>
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
    label->move(5, 5);
    layout->addWidget(label);

    auto* edit = new ZMultiLineEdit(dialog, true, 1);
    edit->move(5, 70);
    edit->setText(initial);
    edit->setFilter(nameCharacters(), true);
    layout->addWidget(edit);

    auto* buttons = new QHBoxLayout;
    auto* ok = new ZPushButton(dialog, 3, -1, -1);
    ok->setText(CN("Ok"));
    auto* cancel = new ZPushButton(dialog, 3, -1, -1);
    cancel->setText(CN("Cancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::close);

    dialog->resize(220, 120);
    QString result;
    if (dialog->exec() == QDialog::Accepted) {
        // Text put in without typing has not met the filter yet.
        edit->setFilter(nameCharacters(), true);
        if (!edit->text().isNull())
            result = edit->text();
    }
    delete dialog;
    return result;
}
