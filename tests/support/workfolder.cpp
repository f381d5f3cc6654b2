#include "workfolder.h"

#include "app/phonefolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

WorkFolder::WorkFolder()
    : previousCurrent(QDir::currentPath())
{
    QVERIFY2(dir.isValid(), "no temporary folder");
    QDir::setCurrent(dir.path());
    PhoneFolders& folders = phoneFolders();
    folders.card = makeFolder("mmc/mmca1");
    folders.systemDir = makeFolder("ezxlocal");
    folders.phoneDir = makeFolder("ezxlocal/download/mystuff");
    folders.setupDir = makeFolder("ezx_user/download/appwrite/setup");
    folders.diska = makeFolder("diska");
    folders.installedDb = dir.path() + "/ezxlocal/download/appwrite/am/InstalledDB";
    folders.plugCardDb = dir.path() + "/mmc/mmca1/.system/java/PlugCardDB";
    folders.javaRuntime = dir.path() + "/usr/SYSjava/kvm";
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(previousCurrent);
    phoneFolders() = PhoneFolders();
}

void WorkFolder::write(const QString& name, const QByteArray& bytes) const
{
    const QString target = file(name);
    QDir().mkpath(QFileInfo(target).path());
    QFile out(target);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

QByteArray WorkFolder::read(const QString& name) const
{
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void WorkFolder::writeSettings(const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    write("system.txt", bytes);
}

QString WorkFolder::makeFolder(const QString& relative) const
{
    const QString target = file(relative);
    QDir().mkpath(target);
    return target;
}

void makeFile(const QString& path, int size, int ageSeconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
    file.close();
    if (ageSeconds > 0) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        static const QDateTime testStart = QDateTime::currentDateTime();
        QVERIFY(file.setFileTime(testStart.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }
}
