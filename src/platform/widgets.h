#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollArea>

// One-line text field. A filter admits only the characters that match its class.
class ZMultiLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    enum EchoModes { Normal = 0, NoEcho = 1, Password = 2 };

    explicit ZMultiLineEdit(QWidget* parent, bool editorMode = true, int lines = 1,
                            const char* name = nullptr);

    void setEdited(bool edited) { setModified(edited); }
    // Characters the user types outside the class are dropped.
    void setFilter(const QRegularExpression& characterClass, bool enabled = true);
    void setEchoMode(int mode);
    using QLineEdit::setEchoMode;

private:
    void dropFilteredCharacters();

    QRegularExpression filter;
    QString unfiltered;  // the text before the last edit
};

// A modal dialog of the framework.
class ZBaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ZBaseDialog(QWidget* parent = nullptr, const char* name = nullptr, bool modal = true,
                         Qt::WindowFlags flags = {});

    // A row of two buttons below the dialog's content: the first accepts, the second cancels.
    void addButtonRow(QBoxLayout* layout, const QString& acceptText, const QString& cancelText);

    // A dialog opens inside the phone's screen, centred on the window it was opened from.
    void setVisible(bool visible) override;

private:
    void fitOnScreen();
};

// A scrollable area that holds a form whose children are placed at fixed points.
class ZScrollView : public QScrollArea
{
    Q_OBJECT
public:
    explicit ZScrollView(QWidget* parent, const char* name = nullptr);
    void addChild(QWidget* child, int x, int y);
    QWidget* form() const { return canvas; }

private:
    QWidget* canvas;
};

namespace ZGlobal {
int getLineHeight();
}
