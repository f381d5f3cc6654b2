#include "commands/opening.h"

#include "core/desktop_entries.h"
#include "core/filetypes.h"
#include "core/phonefolders.h"
#include "core/settings.h"
#include "core/text.h"
#include "commands/archives.h"
#include "commands/job.h"
#include "commands/message_layer.h"
#include "core/paths.h"
#include "commands/runner.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString associationFile()
{
    return workingFile("setup.txt");
}

// Runs every association of the extension in file order; false when none lists it.
bool runAssociations(const MessageLayer& messages, const QString& extension, const QString& path)
{
    bool associated = false;
    QStringList failures;
    const QString stored = toStoredBytes(extension);
    for (const QString& line : readSettingLines(associationFile())) {
        const QStringList pieces = settingPieces(line);
        if (pieces.size() < 2)
            continue;  // no command
        if (!pieces.first().split('$', Qt::SkipEmptyParts).contains(stored))
            continue;
        associated = true;
        const CommandResult result = runCommand(fromStoredBytes(pieces.at(1)) + " -d " + quoted(path));
        if (!result.succeeded())
            failures << failureMessage(fnames(path), result);
    }
    if (!failures.isEmpty())
        messages.show(failures.join("\n"));
    return associated;
}

// A program of ours, with its arguments and no shell, as a job.
void runReporting(const MessageLayer& messages, const QStringList& arguments, const QString& subject)
{
    const CommandResult result = Job().run(arguments);
    if (!result.succeeded())
        messages.show(failureMessage(subject, result));
}

// A program named without a folder is looked for in PATH, as a launcher does.
QString programPath(const QList<QStringList>& arguments)
{
    const QString program = arguments.value(0).value(0);
    return program.contains('/') ? program : QStandardPaths::findExecutable(program);
}

// The association file's lines run through the shell with " -d" and the path appended: here
// they become "$1" and "$2" of a script that starts the program as its Exec line says. The path
// is only ever "$2", so no file name is read as shell code; a URL code gets the path too.
QString associationCommand(const QString& program, const QList<QStringList>& arguments)
{
    QStringList words{"exec", quoted(program)};
    for (const QStringList& pieces : arguments.mid(1)) {
        QString word;
        for (int i = 0; i < pieces.size(); ++i)
            word += i % 2 == 1 ? QStringLiteral("\"$2\"") : pieces.at(i).isEmpty() ? QString() : quoted(pieces.at(i));
        words << (word.isEmpty() ? QStringLiteral("''") : word);
    }
    return "/bin/sh -c " + quoted(words.join(' ')) + " sh";
}

// Without a shell, the file put in as its Exec line says.
bool startDesktopApplication(const MessageLayer& messages, const DesktopApplication& application, const QString& path)
{
    const QList<QStringList> arguments = execArguments(application.exec);
    const QString program = programPath(arguments);
    if (!startInBackground(program, withFile(arguments, path).mid(1))) {
        messages.show(CN("Cannot start [") + application.name + "]");
        return false;
    }
    return true;
}

// When no rule knows the file: plain text goes to Edit; otherwise the desktop's first
// application for its type is offered.
void openUnknownType(const MessageLayer& messages, const QString& path)
{
    if (isTextFile(path)) {
        startWithFile(messages, "Edit", "TXTFile", path);
        return;
    }
    const DesktopApplication application = desktopApplicationsFor(path).value(0);
    if (application.id.isEmpty()) {
        messages.show(CN("No associate programm"));
        return;
    }
    if (messages.ask(CN("No associate programm\nOpen it in [") + application.name + "]?") == 0)
        startDesktopApplication(messages, application, path);
}

}  // namespace

void openInDesktopApplication(const MessageLayer& messages, const DesktopApplication& application, const QString& path)
{
    const QList<QStringList> arguments = execArguments(application.exec);
    if (startDesktopApplication(messages, application, path))
        recordAssociation(messages, associationCommand(programPath(arguments), arguments), path);
}

void openByType(const MessageLayer& messages, const QString& path, const QString& unpackFolder)
{
    // A program handed a FIFO or a device would wait on it for good.
    if (!QFileInfo(path).isFile()) {
        messages.show("[" + fnames(path) + "]" + CN(" is not a regular file"));
        return;
    }
    const QString extension = fileExtension(fnames(path));
    if (!extension.isEmpty() && runAssociations(messages, extension, path))
        return;

    switch (const FileKind kind = extensionKind(extension)) {
    case FileKind::JavaProgram:
        runReporting(messages, {phoneFolders().javaRuntime, "-classpath", path}, fnames(path));
        break;
    case FileKind::RarArchive:
    case FileKind::ZipArchive:
    case FileKind::TarArchive:
    case FileKind::PhonePackage:
        unpackArchive(messages, path, unpackingTool(kind), unpackFolder);
        messages.list();
        break;
    case FileKind::PhoneProgram:
        runReporting(messages, {path}, fnames(path));
        break;
    case FileKind::Image:
        startWithFile(messages, "Img", "ImgFile", path);
        break;
    default:
        openUnknownType(messages, path);
        break;
    }
}

void recordAssociation(const MessageLayer& messages, const QString& command, const QString& file)
{
    const QString extension = toStoredBytes(fileExtension(fnames(file)));
    if (extension.isEmpty())
        return;
    bool opened = false;
    const QStringList lines = readSettingLines(associationFile(), &opened);
    if (!opened)
        return;  // associations are only recorded where the user keeps them
    // The extension is a key of setup.txt: read up to its first "::", one of a "$" list, one line.
    if (extension.contains(':') || extension.contains('$') || !isStorableValue(extension)) {
        messages.show("[" + fnames(file)
                      + CN("] opened, but not remembered for its type: the extension holds \":\", \"$\" or a line break"));
        return;
    }
    if (!isStorableValue(command)) {
        messages.show("[" + fnames(file) + CN("] opened, but not remembered for its type: its command holds a line break"));
        return;
    }
    const QString key = extension + "::";
    QString output;
    for (const QString& line : lines) {
        if (line.isEmpty() || line.left(key.size()) == key)
            continue;
        output += line + "\r\n";
    }
    output += key + toStoredBytes(command) + "\r\n";
    if (!replaceFileText(associationFile(), output))
        messages.show("[setup.txt]" + CN(" failed!\n") + CN("the association could not be recorded"));
}

void startWithFile(const MessageLayer& messages, const QString& program, const QString& key, const QString& path)
{
    if (!isStorableValue(path)) {
        messages.show("[" + fnames(path) + CN("] cannot be handed over: its path holds a line break"));
        return;
    }
    // Without the line the program would open the file handed over last time.
    if (!iniWrite(key, path)) {
        messages.show(CN("Cannot hand [") + fnames(path)
                      + CN("] to %1: system.txt has no %2 line or cannot be written").arg(program, key));
        return;
    }
    if (!startInBackground(workingFile(program)))
        messages.show(CN("Cannot start [") + workingFile(program) + "]");
}
