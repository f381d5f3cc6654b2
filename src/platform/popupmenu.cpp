#include "platform/popupmenu.h"

#include "platform/zmainwidget.h"

namespace {

// Automatic ids are unique across all menus, as several menus report to one slot.
int nextAutomaticId()
{
    static int next = -2;
    return next--;
}

}  // namespace

PopupMenu::PopupMenu(QWidget* parent)
    : QMenu(parent)
{
}

int PopupMenu::addRow(QAction* action)
{
    const int id = nextAutomaticId();
    action->setData(id);
    itemsById.insert(id, action);
    return id;
}

int PopupMenu::insertItem(const QString& text)
{
    QAction* action = addAction(text);
    const int id = addRow(action);
    // Only the menu that holds the item reports it, not the menus above it.
    connect(action, &QAction::triggered, this, [this, id] { emit activated(id); });
    return id;
}

int PopupMenu::insertItem(const QString& text, int id, int index)
{
    const QList<QAction*> rows = QMenu::actions();
    auto* action = new QAction(text, this);
    insertAction(index >= 0 && index < rows.size() ? rows.at(index) : nullptr, action);
    action->setData(id);
    itemsById.insert(id, action);
    connect(action, &QAction::triggered, this, [this, id] { emit activated(id); });
    return id;
}

int PopupMenu::insertItem(const QString& text, QMenu* submenu)
{
    QAction* action = addMenu(submenu);
    action->setText(text);
    return addRow(action);
}

int PopupMenu::insertSeparator()
{
    return addRow(addSeparator());
}

QAction* PopupMenu::itemAction(int id) const
{
    return itemsById.value(id);
}

void PopupMenu::setItemEnabled(int id, bool enabled)
{
    if (QAction* action = itemAction(id))
        action->setEnabled(enabled);
}

bool PopupMenu::isItemEnabled(int id) const
{
    QAction* action = itemAction(id);
    return action && action->isEnabled();
}

void PopupMenu::setItemChecked(int id, bool checked)
{
    if (QAction* action = itemAction(id)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

bool PopupMenu::isItemChecked(int id) const
{
    QAction* action = itemAction(id);
    return action && action->isChecked();
}

QString PopupMenu::text(int id) const
{
    QAction* action = itemAction(id);
    return action ? action->text() : QString();
}

void PopupMenu::popup(const QPoint& pos, int indexAtPoint)
{
    const QList<QAction*> rows = QMenu::actions();
    QAction* atPoint = indexAtPoint >= 0 && indexAtPoint < rows.size() ? rows.at(indexAtPoint) : nullptr;
    QMenu::popup(pos, atPoint);
}

void PopupMenu::setVisible(bool visible)
{
    if (visible) {
        const QRect screen = phoneScreenFor(parentWidget());
        const QSize size = sizeHint();
        move(qMax(screen.left(), qMin(x(), screen.right() + 1 - size.width())),
             qMax(screen.top(), qMin(y(), screen.bottom() + 1 - size.height())));
    }
    QMenu::setVisible(visible);
}
