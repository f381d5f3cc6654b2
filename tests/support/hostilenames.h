#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

// File names a memory card can hold that break careless command lines. A name that a
// command injects creates a file called INJECTED in the folder the shell runs in: the
// test's working folder, which is the current one.
inline QStringList hostileNames()
{
    return {
        "two words", "it's", "say \"hi\"", "$HOME", "$(touch INJECTED)", "`touch INJECTED`", "back\\slash",
        "new\nline", "-rf", "--checkpoint=1", "star*", "caf\u00e9 \u65e5\u672c",
        QString(127, QChar(0x00e9)) + "x",  // 255 bytes in UTF-8
    };
}

// Every entry called INJECTED below root, hidden ones too: commands run in several folders.
inline QStringList injectedFiles(const QString& root)
{
    QStringList found;
    QDirIterator it(root, {"INJECTED"}, QDir::AllEntries | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// What a tree holds: relative path -> "d" for a folder, "l:" and where a link leads
// (relative to the tree), "f:" and a hash of the bytes for a file.
using TreeListing = QMap<QString, QString>;

inline TreeListing treeListing(const QString& root)
{
    TreeListing tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QFile file(path);
        QString& entry = tree[QDir(root).relativeFilePath(path)];
        if (info.isSymLink())
            entry = "l:" + QDir(root).relativeFilePath(info.symLinkTarget());
        else if (info.isDir())
            entry = "d";
        else if (file.open(QIODevice::ReadOnly))
            entry = "f:" + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex();
        else
            entry = "f:?";
    }
    return tree;
}

// The listing with the entry from (and all below it) removed, and, when to is given,
// the same entries found again under to.
inline TreeListing treeAfter(const TreeListing& before, const QString& from, const QString& to, bool keepSource)
{
    TreeListing after;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const bool inSource = it.key() == from || it.key().startsWith(from + "/");
        if (!inSource || keepSource)
            after[it.key()] = it.value();
        if (inSource && !to.isEmpty())
            after[to + it.key().mid(from.size())] = it.value();
    }
    return after;
}
