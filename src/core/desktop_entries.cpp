#include "core/desktop_entries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

using Group = QHash<QString, QString>;

// The groups of an ini-like file ("[Group]" then "key=value" lines); a repeated key keeps its
// first value.
QHash<QString, Group> readGroups(const QString& path)
{
    QHash<QString, Group> groups;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return groups;
    Group* group = nullptr;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            group = &groups[trimmed.mid(1, trimmed.size() - 2)];
        } else if (group && !trimmed.startsWith('#') && trimmed.contains('=')) {
            const int equals = trimmed.indexOf('=');
            const QString key = trimmed.left(equals).trimmed();
            if (!group->contains(key))
                group->insert(key, trimmed.mid(equals + 1).trimmed());
        }
    }
    return groups;
}

// A value's string escapes: \s, \n, \t, \r and \\; any other backslash stays for Exec's quoting.
QString unescaped(const QString& value)
{
    static const QHash<QChar, QChar> escapes{{'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'\\', '\\'}};
    QString text;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) == '\\' && i + 1 < value.size() && escapes.contains(value.at(i + 1)))
            text += escapes.value(value.at(++i));
        else
            text += value.at(i);
    }
    return text;
}

QStringList listValue(const QString& value)
{
    return value.split(';', Qt::SkipEmptyParts);
}

struct Entry {
    DesktopApplication application;
    QStringList mimeTypes;
    bool offered = false;
};

// Every entry by id; an id found in an earlier folder hides the later ones, also when it is
// not offered itself.
QList<Entry> readEntries()
{
    QList<Entry> entries;
    QSet<QString> ids;
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QDirIterator it(folder, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id = QDir(folder).relativeFilePath(path).replace('/', '-');
            if (ids.contains(id))
                continue;
            ids.insert(id);
            const Group group = readGroups(path).value("Desktop Entry");
            Entry entry{{id, unescaped(group.value("Name")), unescaped(group.value("Exec"))},
                        listValue(group.value("MimeType"))};
            entry.offered = group.value("Type") == "Application" && group.value("NoDisplay") != "true"
                            && group.value("Hidden") != "true" && !entry.application.name.isEmpty()
                            && !execArguments(entry.application.exec).isEmpty();
            entries << entry;
        }
    }
    return entries;
}

struct Associations {
    QStringList defaults;
    QStringList added;
    QSet<QString> removed;
};

// The "mimeapps.list" lines for the types, the user's file first, each type before the ones
// it derives from.
Associations readAssociations(const QStringList& types)
{
    QStringList files{QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/mimeapps.list"};
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        files << folder + "/mimeapps.list";
    QList<QHash<QString, Group>> lists;
    for (const QString& file : files)
        lists << readGroups(file);
    Associations associations;
    for (const QString& type : types) {
        for (const auto& groups : lists) {
            associations.defaults += listValue(groups.value("Default Applications").value(type));
            associations.added += listValue(groups.value("Added Associations").value(type));
            for (const QString& id : listValue(groups.value("Removed Associations").value(type)))
                associations.removed.insert(id);
        }
    }
    return associations;
}

}  // namespace

QList<DesktopApplication> desktopApplicationsFor(const QString& path)
{
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(path);
    const QStringList types = QStringList(type.name()) + type.allAncestors();
    const Associations associations = readAssociations(types);
    const QList<Entry> entries = readEntries();
    auto takesType = [&](const Entry& entry) {
        return std::any_of(entry.mimeTypes.cbegin(), entry.mimeTypes.cend(), [&](const QString& listed) {
            return types.contains(listed) || types.contains(database.mimeTypeForName(listed).name());
        });
    };
    QList<Entry> taking;
    std::copy_if(entries.cbegin(), entries.cend(), std::back_inserter(taking), takesType);
    std::stable_sort(taking.begin(), taking.end(), [](const Entry& a, const Entry& b) {
        return a.application.name.compare(b.application.name, Qt::CaseInsensitive) < 0;
    });
    QStringList ids = associations.defaults;
    for (const QString& id : associations.added)
        ids << id;
    for (const Entry& entry : taking)
        ids << entry.application.id;

    QList<DesktopApplication> applications;
    QSet<QString> listed;
    for (int i = 0; i < ids.size(); ++i) {
        const QString& id = ids.at(i);
        const bool isDefault = i < associations.defaults.size();
        if (listed.contains(id) || (!isDefault && associations.removed.contains(id)))
            continue;
        const auto entry = std::find_if(entries.cbegin(), entries.cend(), [&](const Entry& e) { return e.application.id == id; });
        if (entry != entries.cend() && entry->offered) {
            applications << entry->application;
            listed.insert(id);
        }
    }
    return applications;
}

bool isTextFile(const QString& path)
{
    return QMimeDatabase().mimeTypeForFile(path).inherits("text/plain");
}

QList<QStringList> execArguments(const QString& exec)
{
    QList<QStringList> arguments;
    QStringList argument{QString()};
    bool inArgument = false;  // a dropped field code alone makes no argument
    bool quoting = false;
    bool takesFile = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        const QChar next = i + 1 < exec.size() ? exec.at(i + 1) : QChar();
        if (quoting && c == '"') {
            quoting = false;
        } else if (quoting && c == '\\' && QStringLiteral("\"`$\\").contains(next) && !next.isNull()) {
            argument.last() += next;
            ++i;
        } else if (!quoting && c == ' ') {
            if (inArgument)
                arguments << argument;
            argument = QStringList(QString());
            inArgument = false;
        } else if (!quoting && c == '"') {
            quoting = inArgument = true;
        } else if (c == '%' && !next.isNull()) {
            ++i;
            if (next == '%') {
                argument.last() += '%';
                inArgument = true;
            } else if (QStringLiteral("fFuU").contains(next)) {
                argument << QString(next.toLower()) << QString();
                inArgument = takesFile = true;
            }
        } else {
            argument.last() += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << argument;
    if (quoting || arguments.isEmpty())
        return {};
    if (!takesFile)
        arguments << QStringList{QString(), "f", QString()};
    return arguments;
}

QStringList withFile(const QList<QStringList>& arguments, const QString& path)
{
    const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QStringList words;
    for (const QStringList& pieces : arguments) {
        QString word;
        for (int i = 0; i < pieces.size(); ++i)
            word += i % 2 == 0 ? pieces.at(i) : (pieces.at(i) == "f" ? path : url);
        words << word;
    }
    return words;
}
