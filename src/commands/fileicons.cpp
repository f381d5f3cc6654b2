#include "commands/fileicons.h"

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
    const QString last3 = name.right(3).toLower();
    const QString last4 = name.right(4).toLower();
    const QString last5 = name.right(5).toLower();
    auto in = [](const QString& tail, std::initializer_list<const char*> endings) {
        for (const char* ending : endings)
            if (tail == QLatin1String(ending))
                return true;
        return false;
    };
    if (in(last4, {".mp3", ".wav", ".wma"}))
        return Audio;
    if (last4 == QLatin1String(".jar"))
        return Game;
    if (in(last4, {".jpg", ".gif", ".png", ".bmp"}) || last5 == QLatin1String(".jpeg"))
        return Image;
    if (in(last4, {".wmv", ".mp4", ".3gp", ".avi", ".dat", ".ram"}) || last3 == QLatin1String(".rm")
        || last5 == QLatin1String(".rmvb"))
        return Video;
    return File;
}

FileIcons::Icon FileIcons::folderIcon(const QString& name)
{
    return name == QLatin1String("mmc") || name == QLatin1String("mmca1") ? Card : Folder;
}
