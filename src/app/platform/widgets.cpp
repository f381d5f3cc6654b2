#include "app/platform/widgets.h"

#include "app/platform/softkeys.h"
#include "app/platform/zmainwidget.h"

#include <QApplication>
#include <QFontMetrics>

ZMultiLineEdit::ZMultiLineEdit(QWidget* parent, bool, int, const char* name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QLineEdit::textEdited, this, &ZMultiLineEdit::dropFilteredCharacters);
}

void ZMultiLineEdit::setFilter(const QRegularExpression& characterClass, bool enabled)
{
    filter = enabled ? characterClass : QRegularExpression();
    dropFilteredCharacters();
}

void ZMultiLineEdit::setEchoMode(int mode)
{
    QLineEdit::setEchoMode(mode == Password ? QLineEdit::Password
                           : mode == NoEcho ? QLineEdit::NoEcho
                                            : QLineEdit::Normal);
}

void ZMultiLineEdit::dropFilteredCharacters()
{
    if (filter.pattern().isEmpty())
        return;
    const QString typed = text();
    QString kept;
    int cursor = cursorPosition();
    for (int i = 0; i < typed.size(); ++i) {
        if (filter.match(typed.mid(i, 1)).hasMatch())
            kept += typed.at(i);
        else if (i < cursor)
            --cursor;
    }
    if (kept != typed) {
        setText(kept);
        setCursorPosition(cursor);
    }
}

ZBaseDialog::ZBaseDialog(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
}

void ZBaseDialog::addButtonRow(QBoxLayout* layout, const QString& acceptText, const QString& cancelText)
{
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    auto* accept = new ZPushButton(this, 3, -1, -1);
    accept->setText(acceptText);
    auto* cancel = new ZPushButton(this, 3, -1, -1);
    cancel->setText(cancelText);
    row->addWidget(accept);
    row->addWidget(cancel);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ZBaseDialog::setVisible(bool visible)
{
    if (visible && !isVisible())
        fitOnScreen();
    QDialog::setVisible(visible);
}

// Content that wants more room than the screen has is squeezed to it rather than cut off.
void ZBaseDialog::fitOnScreen()
{
    const QRect screen = phoneScreenFor(parentWidget());
    setMinimumSize(minimumSizeHint().boundedTo(screen.size()));
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    const QSize fitted = size().boundedTo(screen.size());
    setGeometry(QRect(screen.topLeft() + QPoint(screen.width() - fitted.width(), screen.height() - fitted.height()) / 2,
                      fitted));
}

ZScrollView::ZScrollView(QWidget* parent, const char* name)
    : QScrollArea(parent), canvas(new QWidget)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setWidget(canvas);
    setWidgetResizable(false);
}

void ZScrollView::addChild(QWidget* child, int x, int y)
{
    child->setParent(canvas);
    child->move(x, y);
    child->show();
    const QRect used = canvas->childrenRect();
    canvas->resize(used.right() + 1, used.bottom() + 1);
}

int ZGlobal::getLineHeight()
{
    return QFontMetrics(QApplication::font()).height() + 4;
}
