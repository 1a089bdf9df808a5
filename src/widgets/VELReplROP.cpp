#include "widgets/VELReplROP.h"

#include "widgets/VELReplROPDelegate.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QImageReader>
#include <QUrl>

#include <algorithm>

namespace {

QSize pointSize(const QImage& image)
{
    return image.isNull() ? QSize() : image.deviceIndependentSize().toSize();
}

bool isTileable(const QSize& size)
{
    return size.width() >= 2 && size.height() >= 2;
}

int wrap(int value, int period)
{
    const int rest = value % period;
    return rest < 0 ? rest + period : rest;
}

// A picture carried by a drop: image data first, else the first local file that loads.
QImage imageFromMime(const QMimeData& mime)
{
    if (mime.hasImage())
        return qvariant_cast<QImage>(mime.imageData());
    for (const QUrl& url : mime.urls()) {
        QImage image;
        if (url.isLocalFile() && image.load(url.toLocalFile()))
            return image;
    }
    return {};
}

// Cheap check for drag-enter: looks at a file's header without decoding the picture.
bool offersImage(const QMimeData& mime)
{
    if (mime.hasImage())
        return true;
    const QList<QUrl> urls = mime.urls();
    return std::any_of(urls.cbegin(), urls.cend(), [](const QUrl& url) {
        return url.isLocalFile() && QImageReader(url.toLocalFile()).canRead();
    });
}

} // namespace

VELReplROP::VELReplROP(QWidget* parent)
    : QWidget(parent)
{
}

bool VELReplROP::setImage(const QImage& image)
{
    if (m_delegate && !m_delegate->imageWillBeSet(image))
        return false;
    m_image = image;
    update();
    return true;
}

void VELReplROP::setEditable(bool editable)
{
    m_editable = editable;
    setAcceptDrops(editable);
}

QList<VELReplROP::Piece> VELReplROP::tilePieces(const QSize& pictureSize, const QRect& dirty)
{
    QList<Piece> pieces;
    if (!isTileable(pictureSize) || dirty.isEmpty())
        return pieces;
    const int w = pictureSize.width();
    const int h = pictureSize.height();
    for (int y = dirty.top(); y <= dirty.bottom();) {
        const int sy = wrap(y, h);
        const int rowHeight = std::min(dirty.bottom() + 1 - y, h - sy);
        for (int x = dirty.left(); x <= dirty.right();) {
            const int sx = wrap(x, w);
            const int colWidth = std::min(dirty.right() + 1 - x, w - sx);
            pieces.append({QRect(sx, sy, colWidth, rowHeight), QPoint(x, y)});
            x += colWidth;
        }
        y += rowHeight;
    }
    return pieces;
}

void VELReplROP::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (const QRect& dirty : event->region())
        tileRect(painter, dirty);
}

void VELReplROP::tileRect(QPainter& painter, const QRect& dirty) const
{
    if (!isTileable(pointSize(m_image))) {
        // Nothing to tile: show where the view is, as a one-point outline.
        painter.setPen(palette().color(foregroundRole()));
        painter.drawRect(dirty.adjusted(0, 0, -1, -1));
        return;
    }
    // Copy, not blend: the picture's pixels replace what is there, alpha included.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = m_image.devicePixelRatio();
    for (const Piece& piece : tilePieces(pointSize(m_image), dirty)) {
        const QRectF pixels(QPointF(piece.source.topLeft()) * ratio, QSizeF(piece.source.size()) * ratio);
        painter.drawImage(QRectF(piece.target, piece.source.size()), m_image, pixels);
    }
}

void VELReplROP::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_editable && offersImage(*event->mimeData()))
        event->acceptProposedAction();
}

void VELReplROP::dropEvent(QDropEvent* event)
{
    const QImage dropped = imageFromMime(*event->mimeData());
    if (!m_editable || dropped.isNull() || !setImage(dropped))
        return;
    event->acceptProposedAction();
    emit imageDropped();
}
