#pragma once

#include "platform/zmainwidget.h"
#include "commands/message_layer.h"

#include <QList>
#include <QString>

class QComboBox;
class ZMultiLineEdit;

// The "General setup" window: sort order, hidden files, click mode, screen mode and the
// start-up password, stored in "system.txt". Nothing is applied here: the program reads
// them at its next start.
class SetupWidget : public ZMainWidget
{
    Q_OBJECT
public:
    explicit SetupWidget(QWidget* parent);

    QString iniRead(const QString& key) const;
    // False when the value was not stored.
    bool iniWrite(const QString& key, const QString& value);

public slots:
    // Saves all five settings, says whether they were stored, and closes.
    void frite();
    void showDialog(QString text);

private:
    QList<QComboBox*> choiceLists;  // one for each row of choices, top to bottom
    ZMultiLineEdit* passwordField = nullptr;
    MessageLayer messages;
};
