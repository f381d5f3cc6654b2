#include "app/my_widget.h"

#include "app/phonefolders.h"
#include "app/settings.h"
#include "app/text.h"
#include "commands/runner.h"

namespace {

// The extension a file is opened by: the last dot-separated piece of its lower-cased name,
// empty for a name without pieces (only dots).
QString extensionOf(My_Widget* window, const QString& path)
{
    const QStringList pieces = window->fnames(path.toLower()).split('.', Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.last();
}

QString associationFile()
{
    return workingFile("setup.txt");
}

bool isOneOf(const QString& extension, std::initializer_list<const char*> list)
{
    for (const char* item : list)
        if (extension == QLatin1String(item))
            return true;
    return false;
}

}  // namespace

void My_Widget::shell(QString path)
{
    const QString extension = extensionOf(this, path);
    if (extension.isEmpty()) {
        showDialog(CN("No associate programm"));
        return;
    }
    const QString name = fnames(path);

    // Every line of setup.txt that lists the extension runs, in file order.
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
            failures << failureMessage(name, result);
    }
    if (associated) {
        if (!failures.isEmpty())
            showDialog(failures.join("\n"));
        return;
    }

    if (extension == "jar") {
        const CommandResult result = runCommand(quoted(phoneFolders().javaRuntime) + " -classpath " + quoted(path));
        if (!result.succeeded())
            showDialog(failureMessage(name, result));
    } else if (isOneOf(extension, {"z", "gz", "bz2", "tar", "tgz", "mpkg", "pkg", "mtf", "rar", "zip"})) {
        extractOpened(path);
    } else if (extension == "lin") {
        const CommandResult result = runCommand(quoted(path));
        if (!result.succeeded())
            showDialog(failureMessage(name, result));
    } else if (isOneOf(extension, {"jpg", "gif", "bmp", "png", "jpeg"})) {
        // The viewer takes the image from the "ImgFile" setting.
        iniWrite("ImgFile", path);
        if (!startInBackground(workingFile("Img")))
            showDialog(failureMessage("Img", CommandResult()));
    } else {
        showDialog(CN("No associate programm"));
    }
}

void My_Widget::Wr(QString command, QString file)
{
    const QString extension = toStoredBytes(extensionOf(this, file));
    if (extension.isEmpty())
        return;
    bool opened = false;
    const QStringList lines = readSettingLines(associationFile(), &opened);
    if (!opened)
        return;  // associations are only recorded where the user keeps them
    const QString key = extension + "::";
    QString output;
    for (const QString& line : lines) {
        if (line.isEmpty() || line.left(key.size()) == key)
            continue;
        output += line + "\r\n";
    }
    output += key + toStoredBytes(command) + "\r\n";
    if (!replaceFileText(associationFile(), output))
        showDialog("[setup.txt]" + CN(" failed!\n") + CN("the association could not be recorded"));
}
