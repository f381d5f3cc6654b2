#include "app/my_widget.h"

#include "app/platform/messagebox.h"
#include "app/text.h"
#include "commands/runner.h"
#include "info/folder_picker.h"

#include <cstdio>

namespace {

QString archiveExtension(int archiveType)
{
    return archiveType == 1 ? "mpkg" : archiveType == 2 ? "mtf" : "tar.gz";
}

}  // namespace

void My_Widget::showDialog(QString text)
{
    ZMessageBox::information(this, iconReader.getIcon("Dialog_Exclamatory_Mark.gif", true), text,
                             CN("Ok"), QString(), QString(), 1);
}

// The done text on success, otherwise what failed; never the done text for a failure.
static bool report(My_Widget* window, const CommandResult& result, const QString& doneText,
                   const QString& subject)
{
    if (result.succeeded()) {
        window->showDialog(doneText);
        return true;
    }
    const QString what = subject.isEmpty() ? CN("Command") : "[" + subject + "]";
    window->showDialog(what + CN(" failed!\n") + result.failureText());
    return false;
}

bool My_Widget::Fcmd(QString question, QString command, QString doneText, QString subject)
{
    const int answer = ZMessageBox::information(this, iconReader.getIcon("Dialog_Exclamatory_Mark.gif", true),
                                                question, CN("Ok"), CN("Cancel"), QString(), 1);
    if (answer != 0)
        return false;
    return report(this, runCommand(command), doneText, subject);
}

void My_Widget::showDialogV(QString head, QString source, QString tail, QString question,
                            QString doneText, int packFlag, int archiveType)
{
    const int answer = ZMessageBox::information(this, iconReader.getIcon("Dialog_Exclamatory_Mark.gif", true),
                                                question, CN("Ok"), CN("Cancel"), CN("Folder"), 1);
    std::fprintf(stderr, "information() returned %d\n", answer);
    const QString extension = archiveExtension(archiveType);
    // Members follow "--" so that no folder name is read as an option of tar.
    const QString member = " -- " + quoted(fnames(source) + "/");
    if (answer == 0) {
        if (packFlag == 0) {
            report(this, runCommand(head + source + tail), doneText, QString());
            return;
        }
        const CommandResult result = runCommand("tar -C " + quoted(source + "/../") + " -czf "
                                                + quoted(source + "." + extension) + member);
        qListBox(source + "/../");
        report(this, result, doneText, fnames(source));
    } else if (answer == 2) {
        const QString dest = MyDialog::getDirectory();
        if (dest.isEmpty())
            return;
        const QString command = packFlag == 0
            ? head + source + quoted(dest)
            : head + quoted(dest + "/" + fnames(source) + "." + extension) + " -C " + quoted(tail) + member;
        const CommandResult result = runCommand(command);
        qListBox(dest);
        report(this, result, doneText, fnames(source));
    }
}

QString My_Widget::fnames(const QString& path)
{
    const QStringList pieces = path.split('/', Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.last();
}

QString My_Widget::fname(const QString& path)
{
    QStringList pieces = path.split('/', Qt::SkipEmptyParts);
    QString parent;
    if (!pieces.isEmpty())
        pieces.removeLast();
    for (const QString& piece : pieces)
        parent += "/" + piece;
    return parent;
}

void My_Widget::Fshell(QString target)
{
    qListBox(target.isEmpty() ? folder.absolutePath() : target);
}
