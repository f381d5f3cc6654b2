#include "app/platform/messagebox.h"

#include "app/platform/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The icon and the text of a box, in a column that the caller may add buttons to.
QVBoxLayout* addMessage(QDialog& box, const QPixmap& icon, const QString& text)
{
    auto* column = new QVBoxLayout(&box);
    auto* message = new QHBoxLayout;
    auto* iconLabel = new QLabel(&box);
    iconLabel->setPixmap(icon);
    iconLabel->setAlignment(Qt::AlignTop);
    // Texts carry file names, so they are never read as markup; "<br>" breaks a line.
    auto* textLabel = new QLabel(QString(text).replace(QLatin1String("<br>"), QLatin1String("\n")), &box);
    textLabel->setObjectName("messageText");
    textLabel->setWordWrap(true);
    textLabel->setTextFormat(Qt::PlainText);
    message->addWidget(iconLabel);
    message->addWidget(textLabel, 1);
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
        auto* button = new QPushButton(labels[i], &box);
        QObject::connect(button, &QPushButton::clicked, &box, [&box, i] { box.done(i + 1); });
        buttons->addWidget(button);
        if (i == 0)
            button->setDefault(true);
    }
    column->addLayout(buttons);
    box.setMaximumWidth(230);
    box.adjustSize();
    // A wrapped text needs the height it takes at the box's width, or its last lines are cut.
    box.resize(box.width(), qMax(box.height(), column->totalHeightForWidth(box.width())));
    return box.exec() - 1;
}

void ZMessageBox::timerMessage(QWidget* parent, const QPixmap& icon, const QString& text, int seconds, int)
{
    auto* box = new ZBaseDialog(parent, "timerMessage", false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QVBoxLayout* column = addMessage(*box, icon, text);
    box->setMaximumWidth(230);
    box->adjustSize();
    box->resize(box->width(), qMax(box->height(), column->totalHeightForWidth(box->width())));
    box->show();
    QTimer::singleShot(seconds * 1000, box, &QWidget::close);
}
