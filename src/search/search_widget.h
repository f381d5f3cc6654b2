#pragma once

#include "platform/zmainwidget.h"
#include "commands/message_layer.h"

#include <QString>

#include <memory>

class FileWalk;
class QCheckBox;
class QComboBox;
class UTIL_CST;
class ZMultiLineEdit;

// The search form: a name, a place and the file types wanted. "Search" walks the place's
// folder trees and opens the results window with the files found; while it walks, the right
// soft key ("Stop") or Escape ends the walk and the results so far are shown. A folder the
// results window hands back goes on to the main window, and this window closes.
class Search_Widget : public ZMainWidget
{
    Q_OBJECT
public:
    explicit Search_Widget(QWidget* parent);
    ~Search_Widget() override;

    // The extension a type test looks at (fileExtension); a name of dots only has none and
    // is of no listed type.
    static QString exef(const QString& name);

public slots:
    void sltRestoreGUI(QString folder);
    void showDialog(QString text);
    void CFile();

signals:
    void onNeedGUI(QString folder);

private:
    void SFile(const QString& folder);

    ZMultiLineEdit* nameField = nullptr;
    QComboBox* placeBox = nullptr;
    // Images, Video, Audio, Notes, Soft, Other.
    QCheckBox* typeBoxes[6] = {};
    QCheckBox* hiddenBox = nullptr;
    UTIL_CST* softKeys = nullptr;
    std::unique_ptr<FileWalk> walk;  // while a search runs
    MessageLayer messages;
};
