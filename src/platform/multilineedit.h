#pragma once

#include <QPlainTextEdit>

// The framework's multi-line edit in its multi-line form: a plain-text editor.
// Its text comes back exactly as set and typed: no space or line end is changed on the way.
class ZMultiLineTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    enum WordWrap { NoWrap, WidgetWidth };

    explicit ZMultiLineTextEdit(QWidget* parent, bool editorMode = false, int lines = 10,
                                const char* name = nullptr);

    // Lines end in "\n".
    QString text() const;
    void setText(const QString& text);

    bool edited() const;
    void setEdited(bool edited);

    void setCursorPosition(int line, int column);
    void setWordWrap(WordWrap mode);
};
