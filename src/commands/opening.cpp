#include "commands/opening.h"

#include "core/filetypes.h"
#include "core/phonefolders.h"
#include "core/settings.h"
#include "core/text.h"
#include "commands/archives.h"
#include "commands/message_layer.h"
#include "core/paths.h"
#include "commands/runner.h"

#include <QFileInfo>

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

void runReporting(const MessageLayer& messages, const QString& command, const QString& subject)
{
    const CommandResult result = runCommand(command);
    if (!result.succeeded())
        messages.show(failureMessage(subject, result));
}

}  // namespace

void openByType(const MessageLayer& messages, const QString& path, const QString& unpackFolder)
{
    // A program handed a FIFO or a device would wait on it for good.
    if (!QFileInfo(path).isFile()) {
        messages.show("[" + fnames(path) + "]" + CN(" is not a regular file"));
        return;
    }
    const QString extension = fileExtension(fnames(path));
    if (extension.isEmpty()) {
        messages.show(CN("No associate programm"));
        return;
    }
    if (runAssociations(messages, extension, path))
        return;

    switch (const FileKind kind = extensionKind(extension)) {
    case FileKind::JavaProgram:
        runReporting(messages, quoted(phoneFolders().javaRuntime) + " -classpath " + quoted(path), fnames(path));
        break;
    case FileKind::RarArchive:
    case FileKind::ZipArchive:
    case FileKind::TarArchive:
    case FileKind::PhonePackage:
        unpackArchive(messages, path, unpackingTool(kind), unpackFolder);
        messages.list();
        break;
    case FileKind::PhoneProgram:
        runReporting(messages, quoted(path), fnames(path));
        break;
    case FileKind::Image:
        startWithFile(messages, "Img", "ImgFile", path);
        break;
    default:
        messages.show(CN("No associate programm"));
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
