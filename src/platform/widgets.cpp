#include "platform/widgets.h"

#include "platform/softkeys.h"
#include "platform/zmainwidget.h"

#include <QApplication>
#include <QFontMetrics>

ZMultiLineEdit::ZMultiLineEdit(QWidget* parent, bool, int, const char* name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    // An edit is reported before the change of text, so the text before it is still known.
    connect(this, &QLineEdit::textEdited, this, &ZMultiLineEdit::dropFilteredCharacters);
    connect(this, &QLineEdit::textChanged, this, [this] { unfiltered = text(); });
}

void ZMultiLineEdit::setFilter(const QRegularExpression& characterClass, bool enabled)
{
    filter = enabled ? characterClass : QRegularExpression();
}

void ZMultiLineEdit::setEchoMode(int mode)
{
    QLineEdit::setEchoMode(mode == Password ? QLineEdit::Password
                           : mode == NoEcho ? QLineEdit::NoEcho
                                            : QLineEdit::Normal);
}

// Only what the user typed or pasted meets the filter: the text the field was given, such
// as a name to rename, keeps every character it had.
void ZMultiLineEdit::dropFilteredCharacters()
{
    const QString now = text();
    if (filter.pattern().isEmpty())
        return;
    qsizetype same = 0;
    while (same < now.size() && same < unfiltered.size() && now.at(same) == unfiltered.at(same))
        ++same;
    qsizetype sameEnd = 0;
    while (sameEnd < now.size() - same && sameEnd < unfiltered.size() - same
           && now.at(now.size() - 1 - sameEnd) == unfiltered.at(unfiltered.size() - 1 - sameEnd))
        ++sameEnd;
    QString typed;
    for (const QChar c : now.mid(same, now.size() - same - sameEnd))
        if (filter.match(QString(c)).hasMatch())
            typed += c;
    const QString kept = now.left(same) + typed + now.right(sameEnd);
    if (kept != now) {
        setText(kept);
        setCursorPosition(int(same + typed.size()));
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
