#include "dialogs.h"

#include "app/my_widget.h"
#include "browser/my_listbox.h"
#include "info/folder_picker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QTest>

DialogAnswerer::DialogAnswerer()
{
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    timer.start();
}

DialogAnswerer& DialogAnswerer::press(const QString& buttonText)
{
    return then([buttonText](QWidget* dialog) { pressButton(dialog, buttonText); });
}

DialogAnswerer& DialogAnswerer::type(const QString& text, const QString& buttonText)
{
    return then([text, buttonText](QWidget* dialog) {
        QLineEdit* field = dialog->findChild<QLineEdit*>();
        QVERIFY2(field, "the dialog has no text field");
        field->setText(text);
        pressButton(dialog, buttonText);
    });
}

DialogAnswerer& DialogAnswerer::pick(const QString& folder)
{
    return then([folder](QWidget* dialog) {
        auto* tree = dialog->findChild<DirectoryView*>();
        QVERIFY2(tree, "the dialog is not the folder picker");
        tree->setDir(folder);
        pressButton(dialog, "Select");
    });
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

QString DialogAnswerer::textOf(QWidget* dialog)
{
    QStringList parts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            parts << label->text();
    for (QTextEdit* text : dialog->findChildren<QTextEdit*>())
        parts << text->toPlainText();
    return parts.join('\n');
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
        if (auto* modal = qobject_cast<QDialog*>(dialog))
            modal->reject();
        else
            dialog->close();
        return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step(dialog);
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
