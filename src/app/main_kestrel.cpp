#include "mainwindow/my_widget.h"
#include "core/text.h"
#include "core/working_folder.h"
#include "platform/icons.h"
#include "platform/messagebox.h"
#include "platform/zapplication.h"

#include <QTextStream>

static QString cannotPrepare(const QString& folder)
{
    return CN("Cannot prepare the working folder [") + folder + "]";
}

int main(int argc, char** argv)
{
    // "kestrel --prepare FOLDER" only prepares a working folder, with no screen: scripts/run uses it.
    if (argc == 3 && qstrcmp(argv[1], "--prepare") == 0) {
        QCoreApplication app(argc, argv);
        const QString folder = app.arguments().at(2);
        if (prepareWorkingFolder(folder, app.applicationDirPath()))
            return 0;
        QTextStream(stderr) << cannotPrepare(folder) << Qt::endl;
        return 1;
    }
    ZApplication app(argc, argv, 1);
    if (!enterWorkingFolder(app.applicationDirPath())) {
        ZMessageBox::information(nullptr, RES_ICON_Reader().getIcon("Dialog_Error.gif", true),
                                 cannotPrepare(launcherWorkingFolder()), CN("Close"));
        return 1;
    }
    auto* window = new My_Widget(nullptr);
    if (!window->startedUp())
        return 0;
    window->show();
    const int status = app.exec();
    delete window;
    return status;
}
