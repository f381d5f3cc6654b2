#pragma once

#include <QByteArray>
#include <QString>

// Each target takes one input here and checks its property with check().
void fuzzOne(const QByteArray& input);

// A property that does not hold is a finding: the run stops there and keeps the input.
void check(bool holds, const char* property);

// The input's parts, cut at NUL bytes; a part the input lacks is empty.
QByteArray part(const QByteArray& input, int index);

// The input's first byte, which picks how a target takes the rest; 0 when there is none.
int choice(const QByteArray& input);

// The bytes as a file of the run's own scratch folder, and a file's bytes.
QString scratchFile(const QByteArray& bytes);
QByteArray fileBytes(const QString& path);
