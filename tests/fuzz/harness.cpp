#include "fuzz.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

void check(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

QByteArray part(const QByteArray& input, int index)
{
    return input.split('\0').value(index);
}

int choice(const QByteArray& input)
{
    return input.isEmpty() ? 0 : quint8(input[0]);
}

QString scratchFile(const QByteArray& bytes)
{
    static const QTemporaryDir scratch;
    const QString path = scratch.path() + "/input";
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(), "scratch file written");
    return path;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    fuzzOne(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
