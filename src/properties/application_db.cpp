#include "properties/application_db.h"

#include "core/text.h"

#include <QFile>

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
