#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

// File names a memory card can hold that break careless command lines. A name that a
// command injects creates a file called INJECTED in the folder the shell runs in.
inline QStringList hostileNames()
{
    return {
        "two words",
        "it's",
        "say \"hi\"",
        "$HOME",
        "$(touch INJECTED)",
        "`touch INJECTED`",
        "back\\slash",
        "new\nline",
        "-rf",
        "--checkpoint=1",
        "star*",
        "caf\u00e9 \u65e5\u672c",
        QString(127, QChar(0x00e9)) + "x",  // 255 bytes in UTF-8
    };
}

// A printable label for a data row.
inline QByteArray hostileRowName(const QString& name)
{
    QString shown = name;
    shown.replace('\n', "\\n");
    if (shown.size() > 40)
        shown = shown.left(12) + "...(" + QString::number(name.toUtf8().size()) + " bytes)";
    return shown.toUtf8();
}

// Every entry called INJECTED below root, hidden ones too.
inline QStringList injectedFiles(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName() == "INJECTED")
            found << it.filePath();
    }
    return found;
}

// What a tree holds: relative path -> "d" for a folder, "l:" and the target for a link,
// "f:" and a hash of the bytes for a file.
using TreeListing = QMap<QString, QString>;

inline TreeListing treeListing(const QString& root)
{
    TreeListing tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = base.relativeFilePath(path);
        if (info.isSymLink()) {
            tree[relative] = "l:" + info.symLinkTarget();
        } else if (info.isDir()) {
            tree[relative] = "d";
        } else {
            QFile file(path);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?unreadable");
            tree[relative] = "f:" + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
        }
    }
    return tree;
}

// The listing with the entry from (and all below it) removed, and, when to is given,
// the same entries found again under to.
inline TreeListing treeAfter(const TreeListing& before, const QString& from, const QString& to,
                             bool keepSource)
{
    TreeListing after;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QString& path = it.key();
        const bool inSource = path == from || path.startsWith(from + "/");
        if (!inSource || keepSource)
            after[path] = it.value();
        if (inSource && !to.isEmpty())
            after[to + path.mid(from.size())] = it.value();
    }
    return after;
}
