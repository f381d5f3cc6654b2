#include "viewer/image_view.h"

#include "core/text.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QtEndian>

#include <cmath>

namespace {

constexpr int swipeDistance = 40;

QString named(const QString& path)
{
    return "[" + QFileInfo(path).fileName() + "]\n";
}

// Decoders show what they could read of a file cut short, often without a word; the file
// ends early when it ends before its format says it does.
bool endsEarly(const QString& path, const QByteArray& format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 6)
        return false;
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return false;
    const QByteArrayView bytes(mapped, file.size());
    if (format == "jpeg") {
        // Scans start with FF DA and the image ends with FF D9; a thumbnail before the
        // scans has its own end, so the last end must follow the last scan.
        const qsizetype end = bytes.lastIndexOf(QByteArrayView("\xff\xd9"));
        return end < 0 || bytes.indexOf(QByteArrayView("\xff\xda"), end) >= 0;
    }
    if (format == "gif")
        return bytes.back() != 0x3b;  // the trailer
    if (format == "bmp")
        return qFromLittleEndian<quint32>(mapped + 2) > quint64(file.size());  // the size it declares
    return false;
}

}  // namespace

ImageView::ImageView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::setFile(const QString& path)
{
    file = path;
    quarterTurns = 0;
    zoomFactor = 1;
    changed();
}

void ImageView::showMessage(const QString& message)
{
    file.clear();
    shown = QImage();
    text = message;
    stale = false;
    update();
}

void ImageView::zoomIn()
{
    zoomFactor = qMin(largestZoom, zoomFactor * 2);
    changed();
}

void ImageView::zoomOut()
{
    zoomFactor = qMax(1.0, zoomFactor / 2);
    changed();
}

void ImageView::fit()
{
    zoomFactor = 1;
    changed();
}

void ImageView::rotate()
{
    quarterTurns = (quarterTurns + 1) % 4;
    changed();
}

void ImageView::changed()
{
    offset = QPoint();
    stale = !file.isEmpty();
    update();
}

const QImage& ImageView::image()
{
    decodeIfChanged();
    return shown;
}

QString ImageView::message()
{
    decodeIfChanged();
    return text;
}

// The size on screen of an image of the given upright size: fitted into the widget
// (small images keep their size), turned, and zoomed; never more than largestSide a side.
QSize ImageView::shownSize(const QSize& upright) const
{
    const QSize turned = quarterTurns % 2 ? upright.transposed() : upright;
    const double fitted = qMin(1.0, qMin(double(width()) / turned.width(), double(height()) / turned.height()));
    const double scale = qMin(fitted * zoomFactor, double(largestSide) / qMax(turned.width(), turned.height()));
    return QSize(qMax(1, int(std::lround(turned.width() * scale))), qMax(1, int(std::lround(turned.height() * scale))));
}

void ImageView::decodeIfChanged()
{
    if (!stale)
        return;
    stale = false;
    shown = QImage();
    text.clear();
    if (!QFileInfo::exists(file)) {
        text = named(file) + CN("not found");
        return;
    }
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        text = named(file) + CN("cannot be shown: ") + reader.errorString();
        return;
    }
    // The decoder scales the image as stored, before any turn its orientation asks for.
    const bool storedTurned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize onScreen = shownSize(storedTurned ? stored.transposed() : stored);
    const QSize upright = quarterTurns % 2 ? onScreen.transposed() : onScreen;
    reader.setScaledSize(storedTurned ? upright.transposed() : upright);
    const QByteArray format = reader.format();  // no longer known once read
    if (!reader.read(&shown)) {
        text = named(file) + CN("cannot be shown: ") + reader.errorString();
        shown = QImage();
        return;
    }
    if (quarterTurns)
        shown = shown.transformed(QTransform().rotate(90 * quarterTurns));
    clampOffset();
    if (endsEarly(file, format))
        text = named(file) + CN("is incomplete: only a part could be read");
}

bool ImageView::pannable() const
{
    return shown.width() > width() || shown.height() > height();
}

void ImageView::clampOffset()
{
    const int spareX = qMax(0, (shown.width() - width()) / 2);
    const int spareY = qMax(0, (shown.height() - height()) / 2);
    offset = QPoint(qBound(-spareX, offset.x(), spareX), qBound(-spareY, offset.y(), spareY));
}

void ImageView::paintEvent(QPaintEvent*)
{
    decodeIfChanged();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!shown.isNull()) {
        QRect place(QPoint(), shown.size());
        place.moveCenter(rect().center() + offset);
        painter.drawImage(place, shown);
    }
    if (text.isEmpty())
        return;
    // Alone in the middle, or in a band at the foot of an image shown in part.
    const QRect box = rect().adjusted(8, 8, -8, -8);
    const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
    QRect used = painter.boundingRect(box, flags, text);
    if (shown.isNull()) {
        used.moveCenter(box.center());
    } else {
        used.moveBottom(box.bottom());
        painter.fillRect(used.adjusted(-8, -4, 8, 4), QColor(0, 0, 0, 190));
    }
    painter.setPen(Qt::white);
    painter.drawText(used, flags, text);
}

void ImageView::resizeEvent(QResizeEvent*)
{
    if (!file.isEmpty())
        stale = true;
}

void ImageView::mousePressEvent(QMouseEvent* event)
{
    pressedAt = lastAt = event->position().toPoint();
}

void ImageView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (pannable()) {
        offset += at - lastAt;
        clampOffset();
        update();
    }
    lastAt = at;
}

void ImageView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint moved = event->position().toPoint() - pressedAt;
    if (!pannable() && std::abs(moved.x()) >= swipeDistance && std::abs(moved.x()) > std::abs(moved.y()))
        emit swiped(moved.x() < 0 ? 1 : -1);
}
