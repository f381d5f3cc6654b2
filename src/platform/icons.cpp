#include "platform/icons.h"

#include <QPixmapCache>

// The images live in the static library; this makes sure they are linked and registered.
static void registerImages()
{
    Q_INIT_RESOURCE(icons);
}

QPixmap RES_ICON_Reader::getIcon(const QString& name, bool) const
{
    static const bool registered = (registerImages(), true);
    Q_UNUSED(registered);
    const QString key = QStringLiteral(":/icons/") + name;
    QPixmap icon;
    if (QPixmapCache::find(key, &icon))
        return icon;
    if (!icon.load(key))
        icon.load(QStringLiteral(":/icons/FMMS_Personal_File_S.g"));
    QPixmapCache::insert(key, icon);
    return icon;
}
