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

namespace {

// A longer "Directory" value is not taken, and the rest of its record is dropped with it.
constexpr int longestDirectory = 15;

}  // namespace

Applications builtInApplications()
{
    static const struct {
        const char* name;
        const char* directory;
    } programs[] = {
        {"Notepad   ", "/usr/SYSqtapp/notepad/notepad"},
        {"RealPlayer", "/usr/SYSqtapp/mediaplayer/mediaplayer"},
        {"MediaViwer", "/usr/language/preloadapps/qtapps/ifv/ifv-app"},
        {"Browser   ", "/usr/SYSqtapp/opera/launcher"},
    };
    Applications applications;
    for (const auto& program : programs)
        applications.append({CN(program.name), program.directory, "2", "0"});
    return applications;
}

// A record starts at "AllPosition"; its "Directory" line makes the application and accepts
// the "Name", "Exec" and "uid" lines after it. The databases are UTF-8, each line decoded once.
void readApplicationDb(const QString& path, Applications& applications)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    bool accepted = false;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        const QStringList pieces = ChineseAndEnglishs(line.constData()).split(" = ", Qt::SkipEmptyParts);
        const QString key = pieces.value(0);
        const QString value = pieces.value(1, QStringLiteral(""));
        if (key == "AllPosition") {
            accepted = false;
        } else if (key == "Directory") {
            if (value.size() <= longestDirectory) {
                applications.append({QString(), value, QString(), QString()});
                accepted = true;
            }
        } else if (accepted && key == "Name") {
            applications.last().name = value;
        } else if (accepted && key == "Exec") {
            applications.last().exec = value;
        } else if (accepted && key == "uid") {
            applications.last().type = "0";
        }
    }
}

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
