// The multi-file window's choice comes back here: one command per entry, one report.
#include "mainwindow/my_widget.h"

#include "core/text.h"
#include "core/paths.h"
#include "commands/transfer.h"
#include "picker/folder_picker.h"
#include "multifile/f_file_6_n.h"

#include <cstdio>

F_File_6_N* My_Widget::openMultiFileWindow(const QString& title, Transfer operation)
{
    auto* window = new F_File_6_N(this, CN(title), folder.absolutePath(), int(operation));
    window->show();
    connect(window, &F_File_6_N::onNeedGUI, this, &My_Widget::sltRestoreGUI);
    if (operation == Transfer::Delete)
        std::fprintf(stderr, "open FFile\n");
    return window;
}

F_File_6_N* My_Widget::multiFileWindow(Transfer operation) const
{
    switch (operation) {
    case Transfer::Copy:
        return copyWindow;
    case Transfer::Move:
        return moveWindow;
    case Transfer::Delete:
        break;
    }
    return deleteWindow;
}

void My_Widget::sltRestoreGUI(QString list, int operation)
{
    std::fprintf(stderr, "sltRestoreGUI 1\n");
    const QStringList paths = splitNameList(list);
    // Only a system.txt that holds "EFile" keeps it; without the key there is nothing to clear.
    static_cast<void>(iniWrite("EFile", ""));
    // Only copy, move and delete are handed over: another code runs nothing.
    if (operation < int(Transfer::Copy) || operation > int(Transfer::Delete))
        return;
    const Transfer transfer = Transfer(operation);
    QString dest;
    if (transfer != Transfer::Delete) {
        dest = MyDialog::getDirectory();
        if (dest.isEmpty())
            return;
    }
    runBatch(messages, transfer, paths, dest, CN("success"));
    qListBox(folder.absolutePath());
    std::fprintf(stderr, "sltRestoreGUI 2\n");
}
