#include "editor/encodings.h"

#include <QTextCodec>

namespace {

struct EncodingEntry {
    const char* menuText;
    const char* codecName;
};

const EncodingEntry encodings[encodingCount] = {
    {"ISO 8859-1", "ISO8859-1"}, {"SCHinese/GBK", "GBK"},   {"TChinese/Big5", "Big5"},
    {"Unicode/UTF-8", "utf8"},   {"Unicode/UTF-16", "utf16"},
};

QTextCodec* codecFor(const TextFormat& format)
{
    if (format.encoding == Utf16)
        return QTextCodec::codecForName(format.bigEndian ? "UTF-16BE" : "UTF-16LE");
    const bool known = format.encoding >= 0 && format.encoding < encodingCount;
    return QTextCodec::codecForName(encodings[known ? format.encoding : Utf8].codecName);
}

// A byte order mark is an ordinary character here, so that it goes back where it was.
QString toText(const QByteArray& bytes, QTextCodec* codec)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->toUnicode(bytes.constData(), int(bytes.size()), &state);
}

QByteArray toBytes(const QString& text, QTextCodec* codec)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->fromUnicode(text.constData(), int(text.size()), &state);
}

QString withLineEnds(const QString& text, const TextFormat& format)
{
    return format.crlf ? QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")) : text;
}

}  // namespace

QString encodingName(int encoding)
{
    return encoding >= 0 && encoding < encodingCount ? QString::fromLatin1(encodings[encoding].menuText)
                                                     : QString();
}

DecodedText decodeText(const QByteArray& bytes, int encoding)
{
    DecodedText decoded;
    decoded.format.encoding = encoding;
    decoded.format.bigEndian = encoding == Utf16 && bytes.startsWith("\xfe\xff");
    QTextCodec* codec = codecFor(decoded.format);
    decoded.text = toText(bytes, codec);
    const qsizetype firstEnd = decoded.text.indexOf(QLatin1Char('\n'));
    decoded.format.crlf = firstEnd > 0 && decoded.text.at(firstEnd - 1) == QLatin1Char('\r');
    if (decoded.format.crlf)
        decoded.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Bytes invalid in the encoding, or line ends of both kinds, do not come back as they were.
    decoded.exact = toBytes(withLineEnds(decoded.text, decoded.format), codec) == bytes;
    return decoded;
}

EncodedText encodeText(const QString& text, const TextFormat& format)
{
    QTextCodec* codec = codecFor(format);
    const QString written = withLineEnds(text, format);
    EncodedText encoded;
    encoded.bytes = toBytes(written, codec);
    encoded.exact = toText(encoded.bytes, codec) == written;
    return encoded;
}
