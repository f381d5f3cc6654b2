#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Each target takes one input here and checks its property with check().
void fuzzOne(const QByteArray& input);

// A property that does not hold is a finding: the run stops there and keeps the input.
void check(bool holds, const char* property);

// The bytes as a file of the run's own scratch folder.
QString scratchFile(const QByteArray& bytes);

// The input's parts, cut at NUL bytes; a part the input lacks is empty.
inline QByteArray part(const QByteArray& input, int index) { return input.split('\0').value(index); }
// The input's first byte, which picks how a target takes the rest; 0 when there is none.
inline int choice(const QByteArray& input) { return input.isEmpty() ? 0 : quint8(input[0]); }
