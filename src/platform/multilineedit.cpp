#include "platform/multilineedit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

ZMultiLineTextEdit::ZMultiLineTextEdit(QWidget* parent, bool, int, const char* name)
    : QPlainTextEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
}

// The document's plain text turns no-break spaces into spaces; its raw text keeps them.
QString ZMultiLineTextEdit::text() const
{
    return document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

void ZMultiLineTextEdit::setText(const QString& text)
{
    setPlainText(text);
}

bool ZMultiLineTextEdit::edited() const
{
    return document()->isModified();
}

void ZMultiLineTextEdit::setEdited(bool edited)
{
    document()->setModified(edited);
}

void ZMultiLineTextEdit::setCursorPosition(int line, int column)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qMin(column, block.length() - 1));
    setTextCursor(cursor);
}

void ZMultiLineTextEdit::setWordWrap(WordWrap mode)
{
    setLineWrapMode(mode == WidgetWidth ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}
