#include "fuzz.h"

#include "core/settings.h"
#include "core/text.h"

#include <QFile>

// Input: the file, the key, the value. What the writer stores reads back the same; a file
// it refuses to change keeps its bytes.
void fuzzOne(const QByteArray& input)
{
    const QString path = scratchFile(part(input, 0));
    const QString key = QString::fromLatin1(part(input, 1));
    const QString value = QString::fromUtf8(part(input, 2));
    QFile file(path);
    if (iniWriteFile(path, key, value))
        check(fromStoredBytes(iniReadFile(path, key)) == value, "a stored value reads back");
    else
        check(file.open(QIODevice::ReadOnly) && file.readAll() == part(input, 0), "a refused write leaves the file");
}
