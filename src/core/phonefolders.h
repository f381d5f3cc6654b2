#pragma once

#include <QString>

// The phone's fixed folders and files, in one place. Tests point them at temporary
// folders; the program itself never changes them.
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

PhoneFolders& phoneFolders();
