// The main window's command helpers: each forwards to the command layer with the main
// window's boxes and its file list.
#include "mainwindow/my_widget.h"

#include "commands/archives.h"
#include "commands/opening.h"
#include "core/filetypes.h"
#include "core/paths.h"
#include "commands/runner.h"

#include <QFileInfo>

const MessageLayer& My_Widget::messageLayer() const
{
    return messages;
}

void My_Widget::showDialog(QString text)
{
    messages.show(text);
}

int My_Widget::ask(const QString& question, const QString& thirdButton)
{
    return messages.ask(question, thirdButton);
}

bool My_Widget::report(const CommandResult& result, const QString& doneText, const QString& subject)
{
    return messages.report(result, doneText, subject);
}

bool My_Widget::Fcmd(QString question, QString command, QString doneText, QString subject)
{
    return messages.confirmAndRun(question, command, doneText, subject);
}

QString My_Widget::fnames(const QString& path)
{
    return ::fnames(path);
}

void My_Widget::Fshell(QString target)
{
    qListBox(target.isEmpty() ? folder.absolutePath() : target);
}

void My_Widget::shell(QString path)
{
    openByType(messages, path, parentFolder(path));
}

void My_Widget::Wr(QString command, QString file)
{
    recordAssociation(messages, command, file);
}

// Extract unpacks the selected file into the current folder: a name ending in ".rar" or ".zip"
// by their programs, any other file with tar.
void My_Widget::extractSelected()
{
    const QString path = selectedPath();
    if (!QFileInfo(path).isFile())
        return;
    unpackArchive(messages, path, unpackingTool(endingKind(fnames(path))), folder.absolutePath());
    qListBox(folder.absolutePath());
}
