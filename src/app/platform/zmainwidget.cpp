#include "app/platform/zmainwidget.h"

#include "app/platform/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

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
    titleBar = new QLabel(title, this);
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

    qApp->installEventFilter(this);
}

ZMainWidget::~ZMainWidget()
{
    qApp->removeEventFilter(this);
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

bool ZMainWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return heldKey != 0 && key->key() == heldKey;
    if (isPropagationOfLastKey(watched, event))
        return false;
    lastKeyEvent = event;
    lastKeyReceiver = watched;
    lastKeyType = int(event->type());
    lastKey = key->key();
    const bool press = event->type() == QEvent::KeyPress;
    QWSKeyEvent wsEvent(oldToolkitKeyCode(key->key()),
                        key->text().isEmpty() ? 0 : key->text().at(0).unicode(), press);
    const bool consumed = qwsEvent(&wsEvent);
    if (press)
        heldKey = consumed ? key->key() : 0;
    else if (key->key() == heldKey)
        heldKey = 0;
    return consumed;
}
