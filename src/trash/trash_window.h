#pragma once

#include "commands/message_layer.h"
#include "commands/trash.h"
#include "platform/listbox.h"
#include "platform/zmainwidget.h"

class QLabel;
class UTIL_CST;

// The rows of the trash: each entry's name and when it was deleted, newest first.
class TrashList : public UTIL_ListBox
{
    Q_OBJECT
public:
    explicit TrashList(QWidget* parent);
    void setEntries(const QList<TrashedEntry>& entries);
    const TrashedEntry* current() const;

protected:
    void paintCell(QPainter* painter, int row, int column) override;

private:
    QList<TrashedEntry> entries;
};

// What every trash holds, the home's and the cards', those of other programs too. "Restore"
// puts the current entry back where it came from; the menu also deletes it for good, empties
// the trash and tells its size. The folder the current entry came from shows below the list.
class TrashWindow : public ZMainWidget
{
    Q_OBJECT
public:
    explicit TrashWindow(QWidget* parent);

    TrashList* entryList() const { return list; }
    void restoreCurrent();
    void deleteCurrent();
    void emptyTrash();
    void showSize();

private:
    void reload();
    void showOrigin();

    TrashList* list;
    QLabel* origin;
    UTIL_CST* softKeys;
    MessageLayer messages;
};
