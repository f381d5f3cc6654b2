#include "commands/message_layer.h"

#include "platform/icons.h"
#include "platform/messagebox.h"
#include "core/text.h"
#include "core/paths.h"
#include "commands/runner.h"

#include <QFileInfo>

namespace {

QPixmap iconNamed(const QString& name)
{
    return RES_ICON_Reader().getIcon(name, true);
}

const char* const questionIcon = "Dialog_Exclamatory_Mark.gif";

}  // namespace

MessageLayer::MessageLayer(QWidget* window, const QString& messageIcon, Lister listFolder,
                           FolderChooser chooseFolder)
    : parent(window), icon(messageIcon), lister(std::move(listFolder)), chooser(std::move(chooseFolder))
{
}

void MessageLayer::show(const QString& text) const
{
    ZMessageBox::information(parent, iconNamed(icon), text, CN("Ok"), QString(), QString(), 1);
}

bool MessageLayer::offer(const QString& text, const QString& button) const
{
    return ZMessageBox::information(parent, iconNamed(icon), text, CN("Ok"), button, QString(), 1) == 1;
}

int MessageLayer::ask(const QString& question, const QString& thirdButton) const
{
    return ZMessageBox::information(parent, iconNamed(questionIcon), question, CN("Ok"), CN("Cancel"),
                                    thirdButton, 1);
}

bool MessageLayer::mayReplace(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return ask("[" + fnames(path) + CN("] already exists in [") + parentFolder(path) + CN("]. Replace it?")) == 0;
}

bool MessageLayer::report(const CommandResult& result, const QString& doneText, const QString& subject) const
{
    show(result.succeeded() ? doneText : failureMessage(subject, result));
    return result.succeeded();
}

bool MessageLayer::confirmAndRun(const QString& question, const QString& command, const QString& doneText,
                                 const QString& subject) const
{
    return ask(question) == 0 && report(runCommand(command), doneText, subject);
}

MessageLayer::ReplaceAnswer MessageLayer::askReplace(const QStringList& names, const QString& folder) const
{
    const QString question = "[" + firstNames(names) + CN("] already in [") + folder + CN("]. Replace?");
    const int answer = ZMessageBox::information(parent, iconNamed(questionIcon), question, CN("Replace"),
                                                CN("Skip"), CN("Cancel"), 1);
    return answer == 0 ? Replace : answer == 1 ? Skip : Cancel;
}

void MessageLayer::list(const QString& folder) const
{
    if (lister)
        lister(folder);
}

QString MessageLayer::chooseFolder() const
{
    return chooser ? chooser() : QString();
}

QString firstNames(const QStringList& names)
{
    return names.size() <= 3 ? names.join(", ") : names.mid(0, 3).join(", ") + ", ...";
}
