#include "properties/app_picker.h"

#include "core/paths.h"
#include "core/phonefolders.h"
#include "platform/widgets.h"
#include "core/text.h"

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
    for (const auto& program : programs) {
        applications.names << CN(program.name);
        applications.directories << program.directory;
        applications.types << "2";
        applications.execs << "0";
    }
    return applications;
}

// A record starts at "AllPosition"; its "Directory" line accepts the "Name", "Exec" and "uid"
// lines after it. The databases are UTF-8, each line decoded once.
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
                applications.directories << value;
                accepted = true;
            }
        } else if (accepted && key == "Name") {
            applications.names << value;
        } else if (accepted && key == "Exec") {
            applications.execs << value;
        } else if (accepted && key == "uid") {
            applications.types << "0";
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
    apps = applications;
    for (qsizetype row = 0; row < apps.names.size(); ++row)
        new Sotr_ListBoxItem(this);
}

QString Sotr_ListBox::Istr() const
{
    const int row = currentItem();
    const QString directory = apps.directories.value(row);
    const QString type = apps.types.value(row);
    const QString exec = apps.execs.value(row);
    if (isInside(directory, phoneFolders().card))
        return QStringLiteral("0");
    if (type == "2")
        return directory;
    if (directory.isEmpty() || exec.isEmpty())
        return QString();
    return joinPath((type == "0" ? cardBase : phoneBase) + directory, exec);
}

void Sotr_ListBox::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    painter->drawPixmap(5, 0, icons.getIcon("FMMS_File_Game_S.g", true));
    painter->drawText(35, 19, apps.names.value(row));
}

QString F_Dialog::getDirectory()
{
    auto* dialog = new ZBaseDialog(nullptr, nullptr, true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new Sotr_ListBox(dialog, 0);
    list->setFrameStyle(0);
    Applications applications = builtInApplications();
    readApplicationDb(phoneFolders().installedDb, applications);
    readApplicationDb(phoneFolders().plugCardDb, applications);
    list->stext(applications);
    layout->addWidget(list);
    dialog->addButtonRow(layout, CN("Ok"), CN("Cancel"));
    dialog->resize(220, 240);

    QString result;
    if (dialog->exec() == QDialog::Accepted)
        result = list->Istr();
    delete dialog;
    return result;
}
