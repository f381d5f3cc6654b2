#include "mainwindow/my_widget.h"

#include "core/settings.h"
#include "core/text.h"
#include "mainwindow/my_listbox.h"
#include "commands/runner.h"

void My_Widget::sellSelect(int itemId)
{
    for (int line = 0; line < 10; ++line) {
        if (programIds[line] == itemId) {
            sellSelectY(line);
            return;
        }
    }
}

// Starts the program of line n of "software.txt" with the current row's name.
void My_Widget::sellSelectY(int line)
{
    bool opened = false;
    const QStringList lines = readSettingLines(workingFile("software.txt"), &opened);
    if (!opened || line >= lines.size())
        return;
    // Names and programs are UTF-8, as in the association file.
    const QStringList pieces = settingPieces(lines.at(line));
    const QString name = fromStoredBytes(pieces.value(0));
    QString command = fromStoredBytes(pieces.value(1));
    if (!command.startsWith('/'))
        command = quoted(workingFile("")) + command;
    const QString row = list->Istr();
    if (!row.isEmpty() && row != "..") {
        if (rowRefused())
            return;
        command += " -d " + quoted(row);
    }
    // The program runs in the current folder, where the row's name is found.
    command = "cd " + quoted(folder.absolutePath()) + " && " + command;
    Fcmd(CN("start ?   [") + name + "]", command, "[" + name + "]", name);
}
