#include "platform/listbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// A scroll bar as wide as a row is tall, so that a finger can take it.
class FingerScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

    QSize sizeHint() const override { return QSize(UTIL_ListBox::rowHeight, QScrollBar::sizeHint().height()); }
};

}  // namespace

UTIL_ListBoxItem::UTIL_ListBoxItem(UTIL_ListBox* list, const QString& text, bool)
    : label(text)
{
    if (list)
        list->insertItem(this, -1);
}

UTIL_ListBox::UTIL_ListBox(const QString& style, QWidget* parent, unsigned int)
    : QAbstractScrollArea(parent)
{
    setObjectName(style);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBar(new FingerScrollBar(Qt::Vertical, this));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
}

UTIL_ListBox::~UTIL_ListBox()
{
    clear();
}

void UTIL_ListBox::insertItem(UTIL_ListBoxItem* item, int index)
{
    if (!item)
        return;
    if (index < 0 || index >= count())
        rows.push_back(item);
    else
        rows.insert(rows.begin() + index, item);
    updateScrollRange();
    viewport()->update();
}

void UTIL_ListBox::appendItems(const std::vector<UTIL_ListBoxItem*>& items)
{
    rows.reserve(rows.size() + items.size());
    for (UTIL_ListBoxItem* item : items)
        if (item)
            rows.push_back(item);
    updateScrollRange();
    viewport()->update();
}

void UTIL_ListBox::clear()
{
    for (UTIL_ListBoxItem* row : rows)
        delete row;
    rows.clear();
    current = -1;
    pressedRow = -1;
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

UTIL_ListBoxItem* UTIL_ListBox::item(int index) const
{
    return index >= 0 && index < count() ? rows[size_t(index)] : nullptr;
}

int UTIL_ListBox::index(const UTIL_ListBoxItem* wanted) const
{
    auto found = std::find(rows.begin(), rows.end(), wanted);
    return found == rows.end() ? -1 : int(found - rows.begin());
}

void UTIL_ListBox::setCurrentItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const int previous = current;
    current = index;
    ensureVisible(index);
    updateItem(previous);
    updateItem(index);
    if (previous != index)
        emit highlighted(index);
}

void UTIL_ListBox::updateItem(int index)
{
    if (index >= 0 && index < count())
        viewport()->update(itemRect(index));
}

int UTIL_ListBox::topItem() const
{
    return verticalScrollBar()->value();
}

int UTIL_ListBox::numItemsVisible() const
{
    return std::max(1, viewport()->height() / rowHeight);
}

int UTIL_ListBox::rowAt(const QPoint& pos) const
{
    if (pos.y() < 0)
        return -1;
    const int row = topItem() + pos.y() / rowHeight;
    return row < count() ? row : -1;
}

QRect UTIL_ListBox::itemRect(int index) const
{
    return QRect(0, (index - topItem()) * rowHeight, viewport()->width(), rowHeight);
}

void UTIL_ListBox::updateScrollRange()
{
    verticalScrollBar()->setPageStep(numItemsVisible());
    verticalScrollBar()->setRange(0, std::max(0, count() - numItemsVisible()));
}

void UTIL_ListBox::ensureVisible(int index)
{
    if (index < topItem())
        verticalScrollBar()->setValue(index);
    else if (index >= topItem() + numItemsVisible())
        verticalScrollBar()->setValue(index - numItemsVisible() + 1);
}

void UTIL_ListBox::paintCell(QPainter* painter, int row, int)
{
    const QRect cell(0, 0, viewport()->width(), rowHeight);
    if (row == current) {
        painter->fillRect(cell, palette().color(QPalette::Highlight));
        painter->setPen(palette().color(QPalette::HighlightedText));
    } else {
        painter->setPen(palette().color(QPalette::Text));
    }
}

void UTIL_ListBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int first = topItem() + std::max(0, dirty.top()) / rowHeight;
    const int last = std::min(count() - 1, topItem() + dirty.bottom() / rowHeight);
    for (int row = first; row <= last; ++row) {
        painter.save();
        painter.translate(0, (row - topItem()) * rowHeight);
        paintCell(&painter, row, 0);
        painter.restore();
    }
}

void UTIL_ListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void UTIL_ListBox::mousePressEvent(QMouseEvent* event)
{
    pressedRow = rowAt(event->position().toPoint());
    if (pressedRow >= 0)
        setCurrentItem(pressedRow);
}

void UTIL_ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    const bool tap = row >= 0 && row == pressedRow;
    pressedRow = -1;
    if (tap)
        emit clicked(item(row));
}

void UTIL_ListBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentItem(std::max(0, current - 1));
        break;
    case Qt::Key_Down:
        setCurrentItem(std::min(count() - 1, current + 1));
        break;
    case Qt::Key_PageUp:
        setCurrentItem(std::max(0, current - numItemsVisible()));
        break;
    case Qt::Key_PageDown:
        setCurrentItem(std::min(count() - 1, current + numItemsVisible()));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (UTIL_ListBoxItem* row = item(current))
            emit returnPressed(row);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}
