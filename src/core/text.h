#pragma once

#include <QString>

class QTextCodec;

// The process-wide codecs: GBK for the program's own texts, UTF-8 for names read from
// the application databases.
extern QTextCodec* const gbk_codec;
extern QTextCodec* const gbk_codecs;

// A literal text of the program, its bytes read as GBK.
QString CN(const QString& text);
QString ChineseAndEnglishs(const char* text);

// The system's words for an error number, as the user reads them in a report.
QString errorText(int error);

// Settings files hold values as UTF-8 bytes, one character per byte.
QString toStoredBytes(const QString& text);
QString fromStoredBytes(const QString& stored);
