#include "platform/zmainwidget.h"

#include "platform/keys.h"
#include "platform/softkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

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

// The windows shown, the one on top last.
QList<QPointer<ZMainWidget>>& shownWindows()
{
    static QList<QPointer<ZMainWidget>> windows;
    return windows;
}

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

// A window that opens takes the keyboard, also where no window manager hands it over.
void ZMainWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    shownWindows().removeAll(this);
    shownWindows().append(this);
    raise();
    activateWindow();
    if (content && !focusWidget())
        content->setFocus();
}

// The window on top gives the keyboard back to the window below when it goes.
void ZMainWidget::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    QList<QPointer<ZMainWidget>>& shown = shownWindows();
    const bool wasOnTop = !shown.isEmpty() && shown.last() == this;
    shown.removeAll(this);
    shown.removeAll(QPointer<ZMainWidget>());
    if (wasOnTop && !shown.isEmpty())
        shown.last()->activateWindow();
}

// A soft key's menu opens above it, without a loop of its own inside the key event.
void ZMainWidget::pressSoftKey(QPushButton* button)
{
    if (!button->isEnabled())
        return;
    if (QMenu* menu = button->menu())
        menu->popup(button->mapToGlobal(QPoint(0, -menu->sizeHint().height())));
    else
        button->click();
}

// The soft keys are the window's own phone buttons as they stand from left to right;
// a bar of two has no middle key.
QPushButton* ZMainWidget::softKeyButton(SoftKey key) const
{
    QList<ZPushButton*> keys;
    for (ZPushButton* button : findChildren<ZPushButton*>())
        if (button->window() == this && button->isVisibleTo(this))
            keys << button;
    std::stable_sort(keys.begin(), keys.end(), [this](const QWidget* a, const QWidget* b) {
        return a->mapTo(this, QPoint()).x() < b->mapTo(this, QPoint()).x();
    });
    switch (key) {
    case SoftKey::Left:
        return keys.value(0);
    case SoftKey::Middle:
        return keys.size() == 3 ? keys.at(1) : nullptr;
    case SoftKey::Right:
        return keys.size() > 1 ? keys.last() : nullptr;
    default:
        return nullptr;
    }
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
    // The soft keys' keys never reach the hook: whatever it records, they stay the way out.
    // The main window is the one no other window owns.
    const SoftKey softKey = softKeyFor(key->key(), !parentWidget());
    QWSKeyEvent wsEvent(oldToolkitKeyCode(key->key()),
                        key->text().isEmpty() ? 0 : key->text().at(0).unicode(), press);
    const bool consumed = softKey != SoftKey::None || qwsEvent(&wsEvent);
    if (press)
        heldKey = consumed ? key->key() : 0;
    else if (key->key() == heldKey)
        heldKey = 0;
    if (QPushButton* button = press && softKey != SoftKey::None ? softKeyButton(softKey) : nullptr)
        pressSoftKey(button);  // last: it may close this window
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
