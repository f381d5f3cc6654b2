#include "platform/softkeys.h"

#include <QHBoxLayout>
#include <QMenu>

namespace {

// The framework's standard key names and the labels they stand for.
QString softKeyLabel(const QString& key)
{
    if (key == QLatin1String("CST_Menu"))
        return QStringLiteral("Menu");
    if (key == QLatin1String("CST_Exit"))
        return QStringLiteral("Exit");
    if (key == QLatin1String("CST_Back"))
        return QStringLiteral("Back");
    return key;
}

}  // namespace

ZPushButton::ZPushButton(QWidget* parent, int, int width, int height)
    : QPushButton(parent)
{
    if (width > 0 && height > 0)
        setFixedSize(width, height);
}

void ZPushButton::setPopup(QMenu* menu)
{
    setMenu(menu);
}

UTIL_PushButton::UTIL_PushButton(const QString& resource, const QString& text, QWidget* parent, int,
                                 int width, int height)
    : ZPushButton(parent, 3, width, height)
{
    // A button made from a resource alone shows that resource's label.
    setText(text.isEmpty() ? softKeyLabel(resource) : text);
}

UTIL_CST::UTIL_CST(QWidget* parent, const QString& middleText, const QString& leftKey,
                   const QString& rightKey)
    : QWidget(parent)
{
    setObjectName("softKeys");
    setFixedHeight(UTIL_PushButton::defaultHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    left = new ZPushButton(this);
    middle = new ZPushButton(this);
    right = new ZPushButton(this);
    left->setText(softKeyLabel(leftKey));
    middle->setText(middleText);
    right->setText(softKeyLabel(rightKey));
    for (ZPushButton* button : {left, middle, right}) {
        button->setFixedHeight(UTIL_PushButton::defaultHeight);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button, 1);
    }
}
