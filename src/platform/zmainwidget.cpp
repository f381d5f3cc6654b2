#include "platform/zmainwidget.h"

#include "platform/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The title bar's label. A title too long for the bar gives up its run of blanks and then the
// end of its first words, so that its last word, the clock, is always shown whole at the right.
class TitleBar : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect bar = contentsRect();
        const QFontMetrics metrics = fontMetrics();
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        if (metrics.horizontalAdvance(text()) <= bar.width()) {
            painter.drawText(bar, flags | Qt::AlignLeft, text());
            return;
        }
        const QString words = text().trimmed();
        const int lastBlank = words.lastIndexOf(' ');
        const QString last = words.mid(lastBlank + 1);
        painter.drawText(bar, flags | Qt::AlignRight, last);
        const int room = bar.width() - metrics.horizontalAdvance(last + ' ');
        if (lastBlank > 0 && room > 0)
            painter.drawText(bar, flags | Qt::AlignLeft,
                             metrics.elidedText(words.left(lastBlank).trimmed(), Qt::ElideRight, room));
    }
};

}  // namespace

// One filter for the whole application hands each key event to the window it reaches.
// Windows are hidden, not deleted, when they close, so a filter of their own would pile up.
class ZMainWidget::KeyRouter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* window = widget ? qobject_cast<ZMainWidget*>(widget->window()) : nullptr;
        return window && window->routeKey(watched, static_cast<QKeyEvent*>(event));
    }
};

ZMainWidget::ZMainWidget(const QString& title, bool, QWidget* parent, const char* name,
                         Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::Window)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    resize(screenWidth, screenHeight);

    layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window is the phone's screen: a large font squeezes its content, never widens it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    titleBar = new TitleBar(title, this);
    titleBar->setObjectName("titleBar");
    titleBar->setFixedHeight(20);
    titleBar->setContentsMargins(4, 0, 4, 0);
    titleBar->setAutoFillBackground(true);
    QPalette titlePalette = titleBar->palette();
    titlePalette.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x68));
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    titleBar->setPalette(titlePalette);
    layout->addWidget(titleBar);
    layout->addStretch(1);

    static QPointer<KeyRouter> router;
    if (!router) {
        router = new KeyRouter(qApp);
        qApp->installEventFilter(router);
    }
}

void ZMainWidget::setContentWidget(QWidget* widget)
{
    if (content)
        layout->removeWidget(content);
    else
        delete layout->takeAt(1);  // the stretch that held the place
    content = widget;
    if (widget) {
        widget->setParent(this);
        layout->insertWidget(1, widget, 1);
    }
}

QWidget* ZMainWidget::getContentWidget() const
{
    return content;
}

void ZMainWidget::setCSTWidget(QWidget* widget)
{
    if (softKeys)
        layout->removeWidget(softKeys);
    softKeys = widget;
    if (widget) {
        widget->setParent(this);
        layout->addWidget(widget);
    }
}

QWidget* ZMainWidget::getCSTWidget() const
{
    return softKeys;
}

QLabel* ZMainWidget::getTitleBarWidget() const
{
    return titleBar;
}

bool ZMainWidget::qwsEvent(QWSEvent*)
{
    return false;
}

// A key event ignored by a child travels up to its parents; the hook sees it once.
// Events live on the stack, so the next key event often has the address of the last one:
// only the same event going on to a parent of its first receiver is a propagation.
bool ZMainWidget::isPropagationOfLastKey(QObject* receiver, QEvent* event) const
{
    if (event != lastKeyEvent || !lastKeyReceiver || int(event->type()) != lastKeyType
        || static_cast<QKeyEvent*>(event)->key() != lastKey)
        return false;
    for (QObject* o = lastKeyReceiver->parent(); o; o = o->parent())
        if (o == receiver)
            return true;
    return false;
}

bool ZMainWidget::routeKey(QObject* receiver, QKeyEvent* key)
{
    if (key->isAutoRepeat())
        return heldKey != 0 && key->key() == heldKey;
    if (isPropagationOfLastKey(receiver, key))
        return false;
    lastKeyEvent = key;
    lastKeyReceiver = receiver;
    lastKeyType = int(key->type());
    lastKey = key->key();
    const bool press = key->type() == QEvent::KeyPress;
    QWSKeyEvent wsEvent(oldToolkitKeyCode(key->key()),
                        key->text().isEmpty() ? 0 : key->text().at(0).unicode(), press);
    const bool consumed = qwsEvent(&wsEvent);
    if (press)
        heldKey = consumed ? key->key() : 0;
    else if (key->key() == heldKey)
        heldKey = 0;
    return consumed;
}

QRect phoneScreenFor(const QWidget* opener)
{
    const QWidget* window = opener ? opener->window() : QApplication::activeWindow();
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry()
                        : QRect(0, 0, ZMainWidget::screenWidth, ZMainWidget::screenHeight);
    if (window && window->isVisible() && area.intersects(window->geometry()))
        area = area.intersected(window->geometry());
    area.setSize(area.size().boundedTo(QSize(ZMainWidget::screenWidth, ZMainWidget::screenHeight)));
    return area;
}
