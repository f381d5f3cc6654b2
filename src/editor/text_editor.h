#pragma once

#include "platform/zmainwidget.h"
#include "editor/encodings.h"

class PopupMenu;
class ZMultiLineTextEdit;

// A plain-text editor window for one file: it reads the file in the encoding chosen on the
// middle key, and saves it in place or under a name chosen in the save dialog.
class TextEditor : public ZMainWidget
{
    Q_OBJECT
public:
    // Files up to this size are edited. The editor holds the text twice (its characters
    // and the laid-out document, several times the file's bytes) and lays out every line
    // again when the wrap changes; beyond this a phone runs short of memory and each
    // reload or wrap takes seconds, so a larger file is refused whole.
    static constexpr qint64 largestFile = 16 * 1024 * 1024;

    explicit TextEditor(const QString& path, QWidget* parent = nullptr, const char* name = nullptr,
                        Qt::WindowFlags flags = {});

    ZMultiLineTextEdit* textEdit() const { return editor; }
    PopupMenu* fileMenu() const { return menuFile; }
    PopupMenu* encodingMenu() const { return menuEncoding; }
    QString filePath() const { return path; }

    // The file menu's own ids.
    enum FileMenuId { saveItem = 1, saveAsItem = 2 };

public slots:
    void selectMenu(int id);
    void menuSelect(int id);
    void cmwrap();
    // Each returns false when nothing was done: a question cancelled or a failure shown.
    bool save();
    // Asks what becomes of unsaved changes; false when the user keeps them.
    bool load();
    bool saveAs(const QString& name);
    // False only when the user keeps unsaved changes; a file that cannot be read is reported
    // and leaves the editor's text as it was.
    bool load1(const QString& file, int id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool showSaveDialog();
    void markEncoding(int id);
    bool readFile(const QString& file, QByteArray* bytes);
    bool writeText(const QString& name, bool askBeforeOverwrite);
    bool writeFile(const QString& name, const QByteArray& bytes);
    // The file no longer holds what the editor read from it or wrote into it last.
    bool changedSinceRead(const QString& name) const;
    void showFileName();

    int wrapId = 0;
    bool wrapOnNext = true;
    ZMultiLineTextEdit* editor = nullptr;
    PopupMenu* menuFile = nullptr;
    PopupMenu* menuEncoding = nullptr;
    QString path;
    QString chosenFolder;
    int encoding = Utf8;
    // The line ends and byte order found in the file, kept when it is written again.
    TextFormat format;
    // The text came from the file, or went into it: a plain save replaces it without asking.
    bool textOfFile = false;
    // The digest of the bytes read from the file or written into it last; a plain save asks
    // first when the file holds other bytes by then.
    QByteArray fileDigest;
    // The file held bytes that did not come through into the text unchanged.
    bool readInexactly = false;
};
