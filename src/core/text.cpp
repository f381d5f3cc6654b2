#include "core/text.h"

#include <QTextCodec>

#include <cstring>

QTextCodec* const gbk_codec = QTextCodec::codecForName("GBK");
QTextCodec* const gbk_codecs = QTextCodec::codecForName("UTF-8");

QString CN(const QString& text)
{
    if (!gbk_codec)
        return text;
    return gbk_codec->toUnicode(text.toLatin1());
}

QString ChineseAndEnglishs(const char* text)
{
    return gbk_codecs ? gbk_codecs->toUnicode(text) : QString::fromUtf8(text);
}

QString toStoredBytes(const QString& text)
{
    return QString::fromLatin1(text.toUtf8());
}

QString fromStoredBytes(const QString& stored)
{
    return QString::fromUtf8(stored.toLatin1());
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
