#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

struct CommandResult;

// The boxes every window shows around its commands: a message, a question, the replace
// question, the one report of a result, and confirm-and-run. A window with a file list
// gives the way to list a folder afterwards; the others list nothing.
class MessageLayer
{
public:
    using Lister = std::function<void(const QString& folder)>;
    using FolderChooser = std::function<QString()>;

    // The main window's boxes carry "Dialog_Exclamatory_Mark.gif", the other windows'
    // messages "Dialog_Empty_Trash.gif"; questions always carry the exclamation mark.
    MessageLayer(QWidget* window, const QString& messageIcon, Lister lister = {}, FolderChooser chooser = {});

    QWidget* window() const { return parent; }

    void show(const QString& text) const;
    // The text with "Ok" and a second button that takes something back: true when it was pressed.
    bool offer(const QString& text, const QString& button) const;
    // A question with "Ok" and "Cancel", and a third button when named: the pressed index.
    int ask(const QString& question, const QString& thirdButton = QString()) const;
    // True when nothing is at path yet, or the user agreed to replace it.
    bool mayReplace(const QString& path) const;
    // The done text on success, otherwise what failed (never the done text); true on success.
    bool report(const CommandResult& result, const QString& doneText, const QString& subject) const;
    // Asks, runs the command on "Ok" and reports; true when it ran and succeeded.
    bool confirmAndRun(const QString& question, const QString& command, const QString& doneText,
                       const QString& subject) const;

    // The answers of the question about several entries already in a folder.
    enum ReplaceAnswer { Replace = 0, Skip = 1, Cancel = 2 };
    ReplaceAnswer askReplace(const QStringList& names, const QString& folder) const;

    // Lists the folder when the window has a list, its own current folder when none is
    // named; does nothing in a window without a list.
    void list(const QString& folder = QString()) const;
    // A folder the user picks for a command; empty when cancelled or the window picks none.
    QString chooseFolder() const;

private:
    QPointer<QWidget> parent;
    QString icon;
    Lister lister;
    FolderChooser chooser;
};

// At most three names, then ", ...": what fits in a box.
QString firstNames(const QStringList& names);
