#include "core/paths.h"

QString fnames(const QString& path)
{
    const QStringList pieces = path.split('/', Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.last();
}

QString fname(const QString& path)
{
    QStringList pieces = path.split('/', Qt::SkipEmptyParts);
    QString parent;
    if (!pieces.isEmpty())
        pieces.removeLast();
    for (const QString& piece : pieces)
        parent += "/" + piece;
    return parent;
}

QString parentFolder(const QString& path)
{
    const QString parent = fname(path);
    return parent.isEmpty() ? QStringLiteral("/") : parent;
}

QString joinPath(const QString& folder, const QString& name)
{
    return (folder.endsWith('/') ? folder : folder + "/") + name;
}

bool isInside(const QString& path, const QString& folder)
{
    if (folder == "/")
        return path.startsWith('/');
    return path == folder || path.startsWith(folder + "/");
}

bool canTravel(const QString& name)
{
    return !name.contains('$');
}

QString joinNameList(const QStringList& names)
{
    QStringList kept;
    for (const QString& name : names)
        if (!name.isEmpty() && canTravel(name))
            kept << name;
    return kept.join('$');
}

QStringList splitNameList(const QString& list)
{
    return list.split('$', Qt::SkipEmptyParts);
}
