#include "results/QtShapeTiles.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int MaxTileSide = 512;
constexpr qsizetype MaxTileBytes = qsizetype{16} << 20;

thread_local TTileCache Tiles(MaxTileBytes);

template <class T> void Append(QByteArray &key, T value) {
    key.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// What makes a tile: the scale, pen, brush, fill rule and the path's elements relative to the
// tile's corner.
QByteArray TileKey(int scale, const QPen &pen, const QBrush &brush, const QPainterPath &path,
                   QPoint corner) {
    QByteArray key;
    Append(key, scale);
    Append(key, pen.style() == Qt::NoPen ? QRgb{0} : pen.color().rgba());
    Append(key, pen.style() == Qt::NoPen ? 0.0 : pen.widthF());
    Append(key, brush.style() == Qt::NoBrush ? QRgb{0} : brush.color().rgba());
    Append(key, static_cast<int>(path.fillRule()));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        Append(key, static_cast<int>(e.type));
        Append(key, e.x - corner.x());
        Append(key, e.y - corner.y());
    }
    return key;
}

QImage PaintTile(const QPainterPath &path, const QPen &pen, const QBrush &brush, QRect box,
                 int scale) {
    QImage tile(box.size() * scale, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    {
        QPainter painter(&tile);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.scale(scale, scale);
        painter.translate(-box.topLeft());
        painter.drawPath(path);
    }
    tile.setDevicePixelRatio(scale);
    return tile;
}

} // namespace

const QImage *TTileCache::Insert(const QByteArray &key, QImage tile) {
    const qsizetype bytes = tile.sizeInBytes();
    if (!FTiles.insert(key, new QImage(std::move(tile)), bytes)) return nullptr;
    return FTiles.object(key);
}

bool DrawShapeTile(QPainter &painter, const QPainterPath &path) {
    if (painter.device()->devType() != QInternal::Image) return false;
    // Only where whole picture pixels fall on whole device pixels, so a tile is what painting
    // the shape in place would give.
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != t.m22()) return false;
    const int scale = static_cast<int>(t.m11());
    if (scale < 1 || scale > 8 || t.m11() != scale || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return false;
    const QPen &pen = painter.pen();
    const QBrush &brush = painter.brush();
    const qreal margin = (pen.style() == Qt::NoPen ? 0 : pen.widthF()) + 1;
    const QRect box =
        path.boundingRect().adjusted(-margin, -margin, margin, margin).toAlignedRect();
    if (box.width() * scale > MaxTileSide || box.height() * scale > MaxTileSide) return false;

    const QByteArray key = TileKey(scale, pen, brush, path, box.topLeft());
    const QImage *tile = Tiles.Find(key);
    if (!tile) tile = Tiles.Insert(key, PaintTile(path, pen, brush, box, scale));
    if (!tile) return false;
    painter.drawImage(QPointF(box.topLeft()), *tile);
    return true;
}
