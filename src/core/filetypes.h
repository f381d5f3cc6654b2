#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

// The file types Kestrel knows by extension, in one table. A file's type is read two ways:
// - by its extension (fileExtension), as opening and the search's types read it;
// - by its ending, the extension only when the name ends in a dot and it, as the row icons,
//   the viewer's images and Extract read it: "x.jpg." and a file named "jpg" show no type.
// Two rows belong to one way only: ".mpeg" is a video to the search alone, ".ram" to the row
// icons alone.

enum class FileKind {
    None,
    Image,
    Audio,
    Video,
    Text,
    JavaProgram,     // a phone application
    JavaDescriptor,  // describes a phone application
    PhoneProgram,    // runs by itself
    PhonePackage,    // a phone's installable package: a tar archive
    RarArchive,
    ZipArchive,
    TarArchive,
};

// A name's extension: the last of its dot-separated pieces, empty pieces dropped, lower-cased.
// "Photo.JPG" gives "jpg", "x.tar.gz" "gz", ".jar" "jar", "x." "x", "README" "readme"; a name
// of dots only has none.
QString fileExtension(const QString& name);

// The kind of an extension as fileExtension gives it, for opening by type.
FileKind extensionKind(const QString& extension);

// The kind a name's ending shows, case ignored: its row icon, whether the viewer steps onto
// it, the tool Extract takes.
FileKind endingKind(const QString& name);

// The extensions of those kinds the search's types list, in table order.
QStringList searchExtensions(std::initializer_list<FileKind> kinds);
