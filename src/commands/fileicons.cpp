#include "commands/fileicons.h"

#include "core/filetypes.h"
#include "platform/icons.h"

FileIcons::FileIcons()
{
    static const char* const names[IconCount] = {
        "FMMS_File_Game_S.g",      "FMMS_File_Image_S.g",     "FMMS_File_Note_S.g",
        "FMMS_File_Video_S.g",     "FMMS_File_Audio_S.g",     "FMMS_Personal_File_S.g",
        "FMMS_Personal_Folder_S.g", "FMMS_Folder_Video_S.g",  "FMMS_Folder_Audio_S.g",
        "FMMS_Folder_Image_S.g",   "FMMS_Folder_Note_S.g",    "FMMS_Folder_Program_S.g",
        "FMMS_Personal_MMC_SD.g",  "General_Selecte_Box_Selected.g",
        "General_Selecte_Box_Unselected.g",
    };
    RES_ICON_Reader reader;
    for (int i = 0; i < IconCount; ++i)
        images[i] = reader.getIcon(QString::fromLatin1(names[i]), true);
}

FileIcons::Icon FileIcons::fileIcon(const QString& name)
{
    switch (endingKind(name)) {
    case FileKind::Audio:
        return Audio;
    case FileKind::JavaProgram:
        return Game;
    case FileKind::Image:
        return Image;
    case FileKind::Video:
        return Video;
    default:
        return File;
    }
}

FileIcons::Icon FileIcons::folderIcon(const QString& name)
{
    return name == QLatin1String("mmc") || name == QLatin1String("mmca1") ? Card : Folder;
}
