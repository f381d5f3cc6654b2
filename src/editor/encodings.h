#pragma once

#include <QByteArray>
#include <QString>

// The encodings the editor offers; each number is also its item id in the encoding menu.
enum Encoding { Latin1 = 0, Gbk = 1, Big5 = 2, Utf8 = 3, Utf16 = 4 };
constexpr int encodingCount = 5;

// The menu text of an encoding ("ISO 8859-1", ...).
QString encodingName(int encoding);

// What a file holds besides its characters: the encoding, the line end found first
// ("\r\n" or "\n"), and for UTF-16 the byte order (a byte order mark stays in the text).
struct TextFormat {
    int encoding = Utf8;
    bool crlf = false;
    bool bigEndian = false;
};

struct DecodedText {
    QString text;  // lines end in "\n"
    TextFormat format;
    bool exact = false;  // writing the text back in its format gives the same bytes
};

struct EncodedText {
    QByteArray bytes;
    bool exact = false;  // every character of the text is held by the bytes
};

// An encoding number other than the five reads and writes UTF-8.
DecodedText decodeText(const QByteArray& bytes, int encoding);
EncodedText encodeText(const QString& text, const TextFormat& format);
