#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class My_Widget;
class QWidget;

// Answers the modal dialogs a test's action opens, one step per dialog, in order.
// A dialog that comes when no step is left is closed and recorded as unexpected.
class DialogAnswerer : public QObject
{
    Q_OBJECT
public:
    DialogAnswerer();

    // One step a dialog: "pick:FOLDER" chooses a folder in the folder picker and presses
    // "Select", "type:TEXT" puts the text in the dialog's field and presses "Ok", any other
    // step is the text of the button to press; "BUTTON+PATH" first writes a file at PATH, below
    // the current folder, as if another program wrote it while the box shows.
    DialogAnswerer& follow(const QStringList& steps);
    DialogAnswerer& press(const QString& buttonText) { return follow({buttonText}); }
    // The next dialog: anything the test wants to do with it.
    DialogAnswerer& then(std::function<void(QWidget*)> step);

    // Every dialog's texts, in the order the dialogs came.
    const QStringList& texts() const { return seen; }
    const QStringList& unexpected() const { return extra; }
    bool finished() const { return steps.empty(); }

    static void pressButton(QWidget* dialog, const QString& buttonText);
    // The texts a dialog shows: labels, fields and message texts.
    static QString textOf(QWidget* dialog);

private:
    void poll();

    std::deque<std::function<void(QWidget*)>> steps;
    QPointer<QWidget> handled;
    QStringList seen;
    QStringList extra;
    QTimer timer;
};

// Every planned answer was given and no dialog came unplanned.
void expectAllAnswered(const DialogAnswerer& answers);

// Makes the row of that name the main window's current row, as a key or a tap would.
void selectRow(My_Widget& window, const QString& name);
