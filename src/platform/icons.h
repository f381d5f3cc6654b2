#pragma once

#include <QPixmap>
#include <QString>

// Images by the framework's resource names, drawn for this program and built in.
class RES_ICON_Reader
{
public:
    QPixmap getIcon(const QString& name, bool cached = true) const;
};
