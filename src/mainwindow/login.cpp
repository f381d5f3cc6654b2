#include "mainwindow/login.h"

#include "platform/widgets.h"
#include "core/settings.h"
#include "core/text.h"

#include <QLabel>
#include <QVBoxLayout>

QString F_Login::getDirectory()
{
    ZBaseDialog dialog(nullptr, nullptr, true);
    dialog.setObjectName("login");
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(CN("password:"), &dialog);
    label->setObjectName("lp_d");
    label->move(5, 10);
    layout->addWidget(label);
    auto* entry = new ZMultiLineEdit(&dialog, true, 1);
    entry->setObjectName("password");
    entry->move(5, 50);
    entry->setEchoMode(ZMultiLineEdit::Password);
    layout->addWidget(entry);
    dialog.addButtonRow(layout, CN("Ok"), CN("Cancel"));
    dialog.resize(220, 100);

    if (dialog.exec() == 0 || entry->text().isEmpty() || toStoredBytes(entry->text()) != iniRead("PassWord"))
        return QString();
    return QStringLiteral("1");
}
