#include "browser/my_listbox.h"

#include "app/my_widget.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

My_ListBox::My_ListBox(QWidget* parent, unsigned int flags, QTimer* longPressTimer)
    : UTIL_ListBox(QStringLiteral("ezx_util_list"), parent, flags), pressTimer(longPressTimer)
{
}

void My_ListBox::stext(const QString& list)
{
    appendNames(list.split(QLatin1Char('$'), Qt::SkipEmptyParts));
}

void My_ListBox::appendNames(const QStringList& entryNames)
{
    rowNames = entryNames;
    // One scroll range update for the whole folder, not one per row.
    std::vector<UTIL_ListBoxItem*> items(size_t(entryNames.size()));
    for (UTIL_ListBoxItem*& item : items)
        item = new My_ListBoxItem;
    appendItems(items);
}

QString My_ListBox::Istr() const
{
    return rowNames.value(currentItem());
}

QPixmap My_ListBox::Wico(const QString& name)
{
    return icons.pixmap(FileIcons::fileIcon(name));
}

QPixmap My_ListBox::Dico(QString name)
{
    return icons.pixmap(FileIcons::folderIcon(name));
}

void My_ListBox::paintCell(QPainter* painter, int row, int column)
{
    UTIL_ListBox::paintCell(painter, row, column);
    const QString& name = rowNames.at(row);
    const bool isFolder = QFileInfo(folderPath + QLatin1Char('/') + name).isDir();
    const QPixmap& icon = icons.pixmap(isFolder ? FileIcons::folderIcon(name) : FileIcons::fileIcon(name));
    painter->drawPixmap(5, 0, icon);
    painter->drawText(32, 19, name);
}

void My_ListBox::mousePressEvent(QMouseEvent* event)
{
    UTIL_ListBox::mousePressEvent(event);
    if (pressTimer && !pressTimer->isActive() && event->type() == QEvent::MouseButtonPress) {
        TN = 0;
        pressTimer->start(100);
    }
}

void My_ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    UTIL_ListBox::mouseReleaseEvent(event);
    if (pressTimer && event->type() == QEvent::MouseButtonRelease)
        pressTimer->stop();
}
