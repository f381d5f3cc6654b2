#include "properties/app_picker.h"

#include "commands/opening.h"
#include "core/desktop_entries.h"
#include "core/paths.h"
#include "core/phonefolders.h"
#include "platform/widgets.h"
#include "core/text.h"
#include "commands/message_layer.h"

#include <QFile>
#include <QPainter>
#include <QVBoxLayout>

Sotr_ListBox::Sotr_ListBox(QWidget* parent, unsigned int flags)
    : UTIL_ListBox("ezx_util_list", parent, flags),
      cardBase(phoneFolders().card + "/.system/QTDownLoad/"),
      phoneBase(phoneFolders().systemDir + "/download/.system/QTDownLoad/")
{
}

void Sotr_ListBox::stext(const Applications& applications)
{
    clear();
    apps.clear();
    // A record without a name has no row to be chosen by.
    for (const Application& application : applications) {
        if (application.name.isEmpty())
            continue;
        apps.append(application);
        new Sotr_ListBoxItem(this);
    }
}

QStringList Sotr_ListBox::names() const
{
    QStringList names;
    for (const Application& application : apps)
        names << application.name;
    return names;
}

QString Sotr_ListBox::Istr() const
{
    const Application application = apps.value(currentItem());  // all empty without a current row
    if (isInside(application.directory, phoneFolders().card))
        return QStringLiteral("0");
    if (application.type == "2")
        return application.directory;
    if (application.directory.isEmpty() || application.exec.isEmpty())
        return QString();
    return joinPath((application.type == "0" ? cardBase : phoneBase) + application.directory, application.exec);
}

void Sotr_ListBox::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    painter->drawPixmap(5, 0, icons.getIcon("FMMS_File_Game_S.g", true));
    painter->drawText(35, 19, apps.value(row).name);
}

QString F_Dialog::getDirectory(const QString& file)
{
    auto* dialog = new ZBaseDialog(nullptr, nullptr, true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new Sotr_ListBox(dialog, 0);
    list->setFrameStyle(0);
    Applications applications = builtInApplications();
    readApplicationDb(phoneFolders().installedDb, applications);
    readApplicationDb(phoneFolders().plugCardDb, applications);
    const QList<DesktopApplication> desktop = file.isEmpty() ? QList<DesktopApplication>() : desktopApplicationsFor(file);
    for (const DesktopApplication& application : desktop)
        applications.append({application.name, application.id, "desktop", application.exec});
    list->stext(applications);
    layout->addWidget(list);
    dialog->addButtonRow(layout, CN("Ok"), CN("Cancel"));
    dialog->resize(220, 240);

    const bool accepted = dialog->exec() == QDialog::Accepted;
    const Application chosen = list->current();
    const MessageLayer messages(nullptr, "Dialog_Empty_Trash.gif");
    QString result;
    if (accepted && chosen.type == "desktop") {
        openInDesktopApplication(messages, {chosen.directory, chosen.name, chosen.exec}, file);
    } else if (accepted) {
        result = list->Istr();
        if (result.isNull() && !chosen.name.isNull())
            messages.show("[" + chosen.name + CN("] has no program to start"));
    }
    delete dialog;
    return result;
}
