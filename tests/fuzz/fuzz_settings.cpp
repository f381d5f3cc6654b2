#include "fuzz.h"

#include "core/settings.h"
#include "core/text.h"

// Input: the file, the key, the value. What the writer stores reads back the same; a file
// it refuses to change keeps its bytes.
void fuzzOne(const QByteArray& input)
{
    const QString file = scratchFile(part(input, 0));
    const QString key = QString::fromLatin1(part(input, 1));
    const QString value = QString::fromUtf8(part(input, 2));
    if (iniWriteFile(file, key, value))
        check(fromStoredBytes(iniReadFile(file, key)) == value, "a stored value reads back");
    else
        check(fileBytes(file) == part(input, 0), "a refused write leaves the file");
}
