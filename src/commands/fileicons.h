#pragma once

#include <QPixmap>
#include <QString>

// The row icons shared by every file list: chosen by a file's ending or a folder's name.
class FileIcons
{
public:
    enum Icon {
        Game, Image, Note, Video, Audio, File, Folder, VideoFolder, AudioFolder, ImageFolder,
        NoteFolder, ProgramFolder, Card, BoxTicked, BoxEmpty, IconCount
    };

    FileIcons();

    static Icon fileIcon(const QString& name);
    static Icon folderIcon(const QString& name);
    const QPixmap& pixmap(Icon icon) const { return images[icon]; }

private:
    QPixmap images[IconCount];
};
