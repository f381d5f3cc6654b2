#include "fuzz.h"

#include <QFile>
#include <QTemporaryDir>

void check(bool holds, const char* property)
{
    if (!holds)
        qFatal("property broken: %s", property);
}

QString scratchFile(const QByteArray& bytes)
{
    static const QTemporaryDir scratch;
    const QString path = scratch.path() + "/input";
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(), "scratch file written");
    return path;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    fuzzOne(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
