#pragma once

#include "platform/zmainwidget.h"

#include <QFileInfo>
#include <QString>

class Job;
class QLabel;
class UTIL_PushButton;
class ZMultiLineEdit;

// The "property" window: name, type, containing folder, size and date of one file or folder,
// as they were when it opened. A folder is measured with du; the window shows once that is done.
class FileWidget_W : public ZMainWidget
{
    Q_OBJECT
public:
    FileWidget_W(QWidget* parent, const QString& path);

    // The whole number of the largest unit reached, seven blanks, and the unit: "1       KB".
    static QString cSize(qint64 size);

private:
    // du shows in the busy strip of the measuring.
    void WDir(const QString& path, Job& job);
    void showText(const QString& type, const QString& size);

    ZMultiLineEdit* nameField = nullptr;
    UTIL_PushButton* left = nullptr;
    UTIL_PushButton* middle = nullptr;
    UTIL_PushButton* right = nullptr;
    QLabel* label = nullptr;
    QString text;
    QFileInfo info;
};
