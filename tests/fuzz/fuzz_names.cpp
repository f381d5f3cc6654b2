#include "fuzz.h"

#include "core/paths.h"

// Input: names, one a line. Joined and split they come back, less those that cannot travel.
void fuzzOne(const QByteArray& input)
{
    const QStringList names = QString::fromUtf8(input).split('\n');
    QStringList travelling;
    for (const QString& name : names)
        if (!name.isEmpty() && !name.contains('$'))
            travelling << name;
    check(splitNameList(joinNameList(names)) == travelling, "names travel whole, none with $");
}
