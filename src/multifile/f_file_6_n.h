#pragma once

#include "platform/zmainwidget.h"

#include <QDir>
#include <QString>

class FMy_ListBox;
class QCheckBox;
class UTIL_CST;

// The window in which several entries of one folder are checked for a batch copy, move or
// delete. "Ok" closes it and hands the checked paths back with the operation code; it runs
// no command itself. Entries whose path holds "$" cannot travel in the handed list and are
// not listed.
class F_File_6_N : public ZMainWidget
{
    Q_OBJECT
public:
    F_File_6_N(QWidget* parent, const QString& title, const QString& folder, int operation);

    QString iniRead(const QString& key) const;
    void FqListBox(const QString& folder);
    bool qwsEvent(QWSEvent* event) override;

    FMy_ListBox* fileList() const { return list; }
    QCheckBox* checkAll() const { return FCheck; }
    UTIL_CST* softKeyBar() const { return softKeys; }
    int markId() const { return markItem; }
    int unmarkId() const { return unmarkItem; }
    int invertId() const { return invertItem; }

public slots:
    void menuSelect(int itemId);
    void Open();
    void WFile();

signals:
    // The checked paths joined by "$" ("" when none), and the operation code given.
    void onNeedGUI(QString list, int operation);

private:
    QDir listing;
    int invertItem = 0;
    int markItem = 0;
    int unmarkItem = 0;
    int operationCode;
    QCheckBox* FCheck = nullptr;
    UTIL_CST* softKeys = nullptr;
    FMy_ListBox* list = nullptr;
};
