#include "dialogs.h"

#include "mainwindow/my_widget.h"
#include "mainwindow/my_listbox.h"
#include "picker/folder_picker.h"
#include "workfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

// What a dialog says: its labels, then what its text fields hold.
QString DialogAnswerer::textOf(QWidget* dialog)
{
    QStringList parts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        parts << label->text();
    for (QLineEdit* field : dialog->findChildren<QLineEdit*>())
        parts << field->text();
    for (QTextEdit* text : dialog->findChildren<QTextEdit*>())
        parts << text->toPlainText();
    parts.removeAll(QString());
    return parts.join('\n');
}

DialogAnswerer::DialogAnswerer()
{
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    timer.start();
}

DialogAnswerer& DialogAnswerer::follow(const QStringList& answers)
{
    for (const QString& answer : answers) {
        then([answer](QWidget* dialog) {
            const QString value = answer.section(':', 1);
            if (answer.startsWith("pick:")) {
                auto* tree = dialog->findChild<DirectoryView*>();
                QVERIFY2(tree, "the dialog is not the folder picker");
                tree->setDir(value);
            } else if (answer.startsWith("type:")) {
                QLineEdit* field = dialog->findChild<QLineEdit*>();
                QVERIFY2(field, "the dialog has no text field");
                field->selectAll();
                field->insert(value);  // as typed over the proposed text: the field's filter applies
            } else if (answer.contains('+')) {
                writeFile(answer.section('+', 1), "meanwhile");
            }
            const QString button = answer.section('+', 0, 0);
            pressButton(dialog, answer.startsWith("pick:") ? "Select" : answer.startsWith("type:") ? "Ok" : button);
        });
    }
    return *this;
}

DialogAnswerer& DialogAnswerer::then(std::function<void(QWidget*)> step)
{
    steps.push_back(std::move(step));
    return *this;
}

void DialogAnswerer::pressButton(QWidget* dialog, const QString& buttonText)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == buttonText) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable("no button \"" + buttonText + "\" in the dialog: " + textOf(dialog)));
}

void DialogAnswerer::poll()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog == handled || !dialog->isVisible())
        return;
    handled = dialog;
    seen << textOf(dialog);
    if (steps.empty()) {
        extra << textOf(dialog);
        dialog->close();
        return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
    // An answer that failed must not leave the dialog waiting for the time limit (a dialog's close rejects it).
    if (QTest::currentTestFailed() && dialog->isVisible())
        dialog->close();
}

void expectAllAnswered(const DialogAnswerer& answers)
{
    QVERIFY2(answers.finished(), qPrintable("dialogs left unanswered, seen: " + answers.texts().join(" | ")));
    QVERIFY2(answers.unexpected().isEmpty(), qPrintable("unexpected: " + answers.unexpected().join(" | ")));
}

void selectRow(My_Widget& window, const QString& name)
{
    const int row = int(window.fileList()->names().indexOf(name));
    QVERIFY2(row >= 0, qPrintable("no row " + name));
    window.fileList()->setCurrentItem(row);
    window.isOpen();
    QCOMPARE(window.fileList()->Istr(), name);
}
