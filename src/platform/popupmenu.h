#pragma once

#include <QHash>
#include <QMenu>

// A menu in the old toolkit's manner: every row gets an automatic integer id, items are
// enabled and checked by id, and a chosen item is reported as activated(id).
class PopupMenu : public QMenu
{
    Q_OBJECT
public:
    explicit PopupMenu(QWidget* parent);

    int insertItem(const QString& text);
    int insertItem(const QString& text, QMenu* submenu);
    // An item with the caller's own id (not negative), inserted at row index (-1: at the end).
    int insertItem(const QString& text, int id, int index);
    int insertSeparator();

    void setItemEnabled(int id, bool enabled);
    bool isItemEnabled(int id) const;
    void setItemChecked(int id, bool checked);
    bool isItemChecked(int id) const;
    QString text(int id) const;
    QAction* itemAction(int id) const;

    // Opens the menu with its row number indexAtPoint placed at pos.
    void popup(const QPoint& pos, int indexAtPoint = -1);

    // A menu, a submenu too, opens inside the phone's screen.
    void setVisible(bool visible) override;

signals:
    void activated(int id);

private:
    int addRow(QAction* action);

    QHash<int, QAction*> itemsById;
};
