#pragma once

#include <QString>
#include <QStringList>

// The last component of a path: "/a/b/" gives "b"; "" and "/" give a null string.
QString fnames(const QString& path);
// The parent folder of a path: "/a/b/c" gives "/a/b"; "/a" and "/" give a null string.
QString fname(const QString& path);
// The parent folder as a path that can be listed: "/" where fname gives nothing.
QString parentFolder(const QString& path);

// folder + "/" + name, without a doubled slash below the root.
QString joinPath(const QString& folder, const QString& name);
// True when path is folder itself or lies below it (both taken as written, absolute).
bool isInside(const QString& path, const QString& folder);

// Lists travel between windows as "$"-separated strings. A name that holds "$" cannot
// travel: it is left out, never cut into pieces that would name other entries.
QString joinNameList(const QStringList& names);
QStringList splitNameList(const QString& list);
bool canTravel(const QString& name);
