#include "platform/messagebox.h"

#include "platform/widgets.h"
#include "platform/zmainwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

#include <memory>

namespace {

// The text of a box. It wraps at blanks, or inside a name too long for one line, and
// scrolls when the screen is too short for it.
class MessageText : public QTextEdit
{
public:
    MessageText(const QString& text, QWidget* box)
        : QTextEdit(box)
    {
        setObjectName("messageText");
        setReadOnly(true);
        setFocusPolicy(Qt::NoFocus);
        setFrameStyle(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        QPalette colours = palette();
        colours.setColor(QPalette::Base, colours.color(QPalette::Window));
        setPalette(colours);
        // Texts carry file names, so they are never read as markup; "<br>" breaks a line.
        setPlainText(QString(text).replace(QLatin1String("<br>"), QLatin1String("\n")));
    }

    bool hasHeightForWidth() const override { return true; }

    int heightForWidth(int width) const override
    {
        const std::unique_ptr<QTextDocument> laidOut(document()->clone());
        laidOut->setTextWidth(width);
        return qCeil(laidOut->size().height());
    }

    // At least one line; the box gives it the rest of the screen's height.
    QSize minimumSizeHint() const override { return QSize(fontMetrics().height(), fontMetrics().height()); }
};

// As narrow as its text allows, so that three buttons fit side by side.
QPushButton* narrowButton(const QString& text, QWidget* box)
{
    auto* button = new QPushButton(text, box);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(text) + 16);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

// The icon and the text of a box, in a column that the caller may add buttons to.
QVBoxLayout* addMessage(QDialog& box, const QPixmap& icon, const QString& text)
{
    auto* column = new QVBoxLayout(&box);
    column->setContentsMargins(6, 6, 6, 6);
    auto* message = new QHBoxLayout;
    auto* iconLabel = new QLabel(&box);
    iconLabel->setPixmap(icon);
    iconLabel->setAlignment(Qt::AlignTop);
    message->addWidget(iconLabel);
    message->addWidget(new MessageText(text, &box), 1);
    column->addLayout(message, 1);
    return column;
}

}  // namespace

int ZMessageBox::information(QWidget* parent, const QPixmap& icon, const QString& text,
                             const QString& button0, const QString& button1,
                             const QString& button2, int)
{
    ZBaseDialog box(parent, "messageBox", true);
    QVBoxLayout* column = addMessage(box, icon, text);

    auto* buttons = new QHBoxLayout;
    const QString labels[] = {button0, button1, button2};
    for (int i = 0; i < 3; ++i) {
        if (labels[i].isNull())
            continue;
        QPushButton* button = narrowButton(labels[i], &box);
        QObject::connect(button, &QPushButton::clicked, &box, [&box, i] { box.done(i + 1); });
        buttons->addWidget(button);
        if (i == 0)
            button->setDefault(true);
    }
    column->addLayout(buttons);

    // The box spans the screen's width and takes the height its text needs there;
    // a text taller than the screen scrolls.
    const QRect screen = phoneScreenFor(parent);
    const int width = screen.width() - 10;
    box.resize(width, qMin(column->totalHeightForWidth(width), screen.height()));
    return box.exec() - 1;
}

void ZMessageBox::timerMessage(QWidget* parent, const QPixmap& icon, const QString& text, int seconds, int)
{
    auto* box = new ZBaseDialog(parent, "timerMessage", false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QVBoxLayout* column = addMessage(*box, icon, text);
    const QRect screen = phoneScreenFor(parent);
    const int width = screen.width() - 10;
    box->resize(width, qMin(column->totalHeightForWidth(width), screen.height()));
    box->show();
    QTimer::singleShot(seconds * 1000, box, &QWidget::close);
}
