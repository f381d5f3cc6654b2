#include "app/my_widget.h"

#include "app/platform/messagebox.h"
#include "app/text.h"
#include "commands/runner.h"
#include "info/folder_picker.h"

#include <QFileInfo>

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

int My_Widget::ask(const QString& question, const QString& thirdButton)
{
    return ZMessageBox::information(this, iconReader.getIcon("Dialog_Exclamatory_Mark.gif", true), question,
                                    CN("Ok"), CN("Cancel"), thirdButton, 1);
}

bool My_Widget::mayReplace(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const QString parent = fname(path).isEmpty() ? QStringLiteral("/") : fname(path);
    return ask("[" + fnames(path) + CN("] already exists in [") + parent + CN("]. Replace it?")) == 0;
}

bool My_Widget::report(const CommandResult& result, const QString& doneText, const QString& subject)
{
    showDialog(result.succeeded() ? doneText : failureMessage(subject, result));
    return result.succeeded();
}

bool My_Widget::Fcmd(QString question, QString command, QString doneText, QString subject)
{
    return ask(question) == 0 && report(runCommand(command), doneText, subject);
}

void My_Widget::showDialogV(QString head, QString source, QString tail, QString question,
                            QString doneText, int packFlag, int archiveType, QString subject)
{
    const int answer = ask(question, CN("Folder"));
    std::fprintf(stderr, "information() returned %d\n", answer);
    if (answer != 0 && answer != 2)
        return;
    const QString name = fnames(source);
    if (packFlag != 0 && name.isEmpty()) {
        // The root has no name to give an archive, and packing it would take the whole phone.
        showDialog(CN("The root folder cannot be packed"));
        return;
    }
    if (subject.isEmpty() && packFlag != 0)
        subject = name;
    const QString extension = archiveExtension(archiveType);
    // Members follow "--" so that no folder name is read as an option of tar.
    const QString member = " -- " + quoted(name + "/");
    if (answer == 0) {
        if (packFlag == 0) {
            report(runCommand(head + source + tail), doneText, subject);
            return;
        }
        const QString archive = source + "." + extension;
        if (!mayReplace(archive))
            return;
        const CommandResult result = runCommand("tar -C " + quoted(source + "/../") + " -czf "
                                                + quoted(archive) + member);
        qListBox(source + "/../");
        report(result, doneText, subject);
        return;
    }
    const QString dest = MyDialog::getDirectory();
    if (dest.isEmpty())
        return;
    QString command;
    if (packFlag == 0) {
        command = head + source + quoted(dest);
    } else {
        const QString archive = (dest == "/" ? QString() : dest) + "/" + name + "." + extension;
        if (!mayReplace(archive))
            return;
        // A folder right below the root has no parent text: its parent is the root.
        command = head + quoted(archive) + " -C " + quoted(tail.isEmpty() ? QStringLiteral("/") : tail) + member;
    }
    const CommandResult result = runCommand(command);
    qListBox(dest);
    report(result, doneText, subject);
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
