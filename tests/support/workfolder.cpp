#include "workfolder.h"

#include "core/phonefolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

bool withFileSizeLimit(qint64 bytes, const std::function<bool()>& work)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    if (bytes > 0)
        limited.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool result = work();
    setrlimit(RLIMIT_FSIZE, &previous);
    return result;
}

void writeFile(const QString& path, const QByteArray& bytes, qint64 ageMs)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
    static const QDateTime testStart = QDateTime::currentDateTime();
    if (ageMs > 0)
        QVERIFY(file.setFileTime(testStart.addMSecs(-ageMs), QFileDevice::FileModificationTime));
}

WorkFolder::WorkFolder()
    : previousCurrent(QDir::currentPath())
{
    QVERIFY2(dir.isValid(), "no temporary folder");
    QDir::setCurrent(dir.path());
    PhoneFolders& folders = handsetFolders();
    folders.card = makeFolder("mmc/mmca1");
    folders.systemDir = makeFolder("ezxlocal");
    folders.phoneDir = makeFolder("ezxlocal/download/mystuff");
    folders.setupDir = makeFolder("ezx_user/download/appwrite/setup");
    folders.diska = makeFolder("diska");
    folders.installedDb = file("ezxlocal/download/appwrite/am/InstalledDB");
    folders.plugCardDb = file("mmc/mmca1/.system/java/PlugCardDB");
    folders.javaRuntime = file("usr/SYSjava/kvm");
    // The desktop's applications are the test's own, none unless it writes them; the shared
    // MIME database stays the machine's, in a folder of its own that every test shares.
    static QTemporaryDir mimeOnly;
    static const bool linked = QFile::link(QStandardPaths::locate(QStandardPaths::GenericDataLocation, "mime/mime.cache")
                                               .section('/', 0, -2), mimeOnly.path() + "/mime");
    QVERIFY(linked);
    qputenv("XDG_DATA_HOME", makeFolder("xdg/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", makeFolder("xdg/config").toUtf8());
    qputenv("XDG_DATA_DIRS", (makeFolder("xdg/dirs") + ":" + mimeOnly.path()).toUtf8());
    setRemovableMedia(file("mounts"), {file("media")});
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(previousCurrent);
    handsetFolders() = PhoneFolders();
    setRemovableMedia({}, {});
}

QByteArray WorkFolder::read(const QString& name) const
{
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void WorkFolder::writeSettings(const QStringList& lines) const
{
    write("system.txt", lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toUtf8());
}

QString WorkFolder::makeFolder(const QString& relative) const
{
    QDir().mkpath(file(relative));
    return file(relative);
}

QString WorkFolder::recorder(const QString& relative) const
{
    const QByteArray log = "'" + file("log").toUtf8() + "'";
    write(relative, "#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done >> " + log + "\necho >> " + log + "\n");
    QFile::setPermissions(file(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return file(relative);
}
