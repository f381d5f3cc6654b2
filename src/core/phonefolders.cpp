#include "core/phonefolders.h"

#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString mountTableOfTests;
QStringList mediaRootsOfTests;

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

QStringList mediaRoots()
{
    if (!mediaRootsOfTests.isEmpty())
        return mediaRootsOfTests;
    const QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        return {"/mnt"};
    return {"/media/" + user, "/run/media/" + user, "/mnt"};
}

QByteArray mountTable()
{
    for (const QString& name : mountTableOfTests.isEmpty() ? QStringList{"/proc/self/mounts", "/proc/mounts"}
                                                           : QStringList{mountTableOfTests}) {
        QFile table(name);
        if (table.open(QIODevice::ReadOnly))
            return table.readAll();
    }
    return {};
}

// The table writes blanks, tabs, line ends and backslashes of a mount point as octal escapes.
QString mountPoint(const QByteArray& field)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool octal = false;
        const int code = field.mid(i + 1, 3).toInt(&octal, 8);
        if (field.at(i) == '\\' && field.size() - i > 3 && octal) {
            bytes += char(code);
            i += 3;
        } else {
            bytes += field.at(i);
        }
    }
    return QFile::decodeName(bytes);
}

// The medium a path below one of the media roots lies on: the root's child it is in.
QString mediumHolding(const QString& path)
{
    for (const QString& root : mediaRoots())
        if (path != root && isInside(path, root))
            return root + "/" + path.mid(root.size() + 1).section('/', 0, 0);
    return {};
}

QString firstRemovableMedium()
{
    for (const QString& point : mountPoints())
        if (!mediumHolding(point).isEmpty() && isFolder(point))
            return point;
    return {};
}

}  // namespace

QStringList mountPoints()
{
    QStringList points;
    for (const QByteArray& line : mountTable().split('\n'))
        if (!line.isEmpty())
            points << mountPoint(line.split(' ').value(1));
    return points;
}

const PhoneFolders phoneFolders()
{
    PhoneFolders places = handsetFolders();
    if (!isFolder(places.card)) {
        const QString medium = firstRemovableMedium();
        if (!medium.isEmpty())
            places.card = medium;
    }
    if (!isFolder(places.diska))
        places.diska = QDir::homePath();
    if (!isFolder(places.phoneDir))
        places.phoneDir = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return places;
}

QString pulledCard(const QString& path)
{
    const QString handsetCard = handsetFolders().card;
    const QString card = isInside(path, handsetCard) ? handsetCard : mediumHolding(path);
    return card.isEmpty() || isFolder(card) ? QString() : card;
}

PhoneFolders& handsetFolders()
{
    static PhoneFolders folders;
    return folders;
}

void setRemovableMedia(const QString& mountTable, const QStringList& mediaRoots)
{
    mountTableOfTests = mountTable;
    mediaRootsOfTests = mediaRoots;
}
