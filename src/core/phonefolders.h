#pragma once

#include <QString>
#include <QStringList>

// The phone's places. The card, the phone folder (diska) and the download folder (phoneDir)
// are the handset's folders where those exist; on today's systems they are the first
// removable medium mounted, the home folder and the user's download folder. The others are
// the handset's alone.
struct PhoneFolders {
    QString card = "/mmc/mmca1";
    QString phoneDir = "/ezxlocal/download/mystuff";
    QString systemDir = "/ezxlocal";
    QString setupDir = "/ezx_user/download/appwrite/setup";
    QString diska = "/diska";
    QString installedDb = "/ezxlocal/download/appwrite/am/InstalledDB";
    QString plugCardDb = "/mmc/mmca1/.system/java/PlugCardDB";
    QString javaRuntime = "/usr/SYSjava/kvm";
};

// The places as they are now. Asked anew at every call: a card put in or pulled out counts
// at once. A card found nowhere is the handset's path, which is not there.
const PhoneFolders phoneFolders();

// The card a path lies on when that card is no longer there; empty otherwise.
QString pulledCard(const QString& path);

// Every mount point of the mount table, in its order.
QStringList mountPoints();

// The handset's paths. Tests point them at temporary folders; the program never changes them.
PhoneFolders& handsetFolders();

// Tests give a mount table and the folders removable media are mounted under of their own;
// empty ones stand for the system's (/proc/self/mounts; /media/$USER, /run/media/$USER, /mnt).
void setRemovableMedia(const QString& mountTable, const QStringList& mediaRoots);
