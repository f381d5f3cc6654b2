#include "core/settings.h"

#include "core/text.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString workingFile(const QString& name)
{
    return QDir::currentPath() + QLatin1Char('/') + name;
}

QStringList settingPieces(const QString& line)
{
    const QString separator = QStringLiteral("::");
    qsizetype keyStart = 0;
    while (line.mid(keyStart, separator.size()) == separator)
        keyStart += separator.size();
    const qsizetype keyEnd = line.indexOf(separator, keyStart);
    if (keyEnd < 0)
        return line.size() > keyStart ? QStringList{line.mid(keyStart)} : QStringList{};
    const QString value = line.mid(keyEnd + separator.size());
    return value.isEmpty() ? QStringList{line.mid(keyStart, keyEnd - keyStart)}
                           : QStringList{line.mid(keyStart, keyEnd - keyStart), value};
}

QStringList readSettingLines(const QString& path, bool* opened)
{
    QFile file(path);
    const bool ok = file.open(QIODevice::ReadOnly);
    if (opened)
        *opened = ok;
    if (!ok)
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the end of the last line, not a line of its own
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

bool replaceFileText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full card) is seen here and not lost in a flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = text.toLatin1();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString iniReadFile(const QString& path, const QString& key)
{
    for (const QString& line : readSettingLines(path)) {
        const QStringList pieces = settingPieces(line);
        if (!pieces.isEmpty() && pieces.first() == key)
            return pieces.value(1, QStringLiteral(""));
    }
    return QStringLiteral("");
}

bool isStorableValue(const QString& value)
{
    return !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r'));
}

bool iniWriteFile(const QString& path, const QString& key, const QString& value)
{
    // A key ending in ":" would run into the "::" after it and never read back.
    if (!isStorableValue(value) || key.endsWith(QLatin1Char(':')))
        return false;
    const QString stored = toStoredBytes(value);
    QString output;
    bool found = false;
    for (const QString& line : readSettingLines(path)) {
        const QStringList pieces = settingPieces(line);
        if (!pieces.isEmpty() && pieces.first() == key) {
            output += key + QStringLiteral("::") + stored + QStringLiteral("\r\n");
            found = true;
        } else {
            output += line + QStringLiteral("\r\n");
        }
    }
    return found && replaceFileText(path, output);
}

QString iniRead(const QString& key)
{
    return iniReadFile(workingFile(QStringLiteral("system.txt")), key);
}

bool iniWrite(const QString& key, const QString& value)
{
    return iniWriteFile(workingFile(QStringLiteral("system.txt")), key, value);
}
