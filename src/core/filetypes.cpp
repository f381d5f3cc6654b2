#include "core/filetypes.h"

#include <algorithm>

namespace {

enum class ReadBy { Both, EndingOnly, ExtensionOnly };

struct FileType {
    const char* extension;
    FileKind kind;
    ReadBy readBy;
};

// Within a kind the rows keep the search's order: its type test looks for "|." and the
// extension in the lists joined as they stand.
constexpr FileType fileTypes[] = {
    {"jpg", FileKind::Image, ReadBy::Both},
    {"jpeg", FileKind::Image, ReadBy::Both},
    {"gif", FileKind::Image, ReadBy::Both},
    {"png", FileKind::Image, ReadBy::Both},
    {"bmp", FileKind::Image, ReadBy::Both},
    {"avi", FileKind::Video, ReadBy::Both},
    {"wmv", FileKind::Video, ReadBy::Both},
    {"mp4", FileKind::Video, ReadBy::Both},
    {"3gp", FileKind::Video, ReadBy::Both},
    {"rm", FileKind::Video, ReadBy::Both},
    {"rmvb", FileKind::Video, ReadBy::Both},
    {"dat", FileKind::Video, ReadBy::Both},
    {"mpeg", FileKind::Video, ReadBy::ExtensionOnly},
    {"ram", FileKind::Video, ReadBy::EndingOnly},
    {"mp3", FileKind::Audio, ReadBy::Both},
    {"wma", FileKind::Audio, ReadBy::Both},
    {"wav", FileKind::Audio, ReadBy::Both},
    {"txt", FileKind::Text, ReadBy::Both},
    {"jar", FileKind::JavaProgram, ReadBy::Both},
    {"jad", FileKind::JavaDescriptor, ReadBy::Both},
    {"mpkg", FileKind::PhonePackage, ReadBy::Both},
    {"pkg", FileKind::PhonePackage, ReadBy::Both},
    {"lin", FileKind::PhoneProgram, ReadBy::Both},
    {"rar", FileKind::RarArchive, ReadBy::Both},
    {"zip", FileKind::ZipArchive, ReadBy::Both},
    {"z", FileKind::TarArchive, ReadBy::Both},
    {"gz", FileKind::TarArchive, ReadBy::Both},
    {"bz2", FileKind::TarArchive, ReadBy::Both},
    {"tar", FileKind::TarArchive, ReadBy::Both},
    {"tgz", FileKind::TarArchive, ReadBy::Both},
    {"mtf", FileKind::TarArchive, ReadBy::Both},
};

FileKind kindOf(const QString& extension, ReadBy skipped)
{
    for (const FileType& type : fileTypes)
        if (type.readBy != skipped && extension == QLatin1String(type.extension))
            return type.kind;
    return FileKind::None;
}

}  // namespace

QString fileExtension(const QString& name)
{
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1) == u'.')
        --end;
    if (end == 0)
        return QString();
    const qsizetype start = name.lastIndexOf(u'.', end - 1) + 1;
    return name.mid(start, end - start).toLower();
}

FileKind extensionKind(const QString& extension)
{
    return kindOf(extension, ReadBy::EndingOnly);
}

FileKind endingKind(const QString& name)
{
    const bool endsInExtension = name.contains(u'.') && !name.endsWith(u'.');
    return endsInExtension ? kindOf(fileExtension(name), ReadBy::ExtensionOnly) : FileKind::None;
}

QStringList searchExtensions(std::initializer_list<FileKind> kinds)
{
    QStringList extensions;
    for (const FileType& type : fileTypes)
        if (type.readBy != ReadBy::EndingOnly && std::find(kinds.begin(), kinds.end(), type.kind) != kinds.end())
            extensions << QLatin1String(type.extension);
    return extensions;
}
