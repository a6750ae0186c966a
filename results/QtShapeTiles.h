// Antialiased shapes on a bitmap, painted from tiles: a page repeats the same brackets and
// radicals line after line, and blending a tile takes a fraction of the time rasterizing the
// shape takes.
#pragma once

#include <QByteArray>
#include <QCache>
#include <QImage>

class QPainter;
class QPainterPath;

// Tiles by key, holding at most a number of bytes of image data: a tile that does not fit
// evicts the least recently used ones.
class TTileCache {
public:
    explicit TTileCache(qsizetype maxBytes) : FTiles(maxBytes) {}

    // The tile of key, or null; a tile found becomes the most recently used.
    const QImage *Find(const QByteArray &key) const { return FTiles.object(key); }
    // Keeps tile under key and returns it (valid until the next Insert); null, and nothing
    // evicted, when the tile alone is larger than the bound.
    const QImage *Insert(const QByteArray &key, QImage tile);

    qsizetype Bytes() const { return FTiles.totalCost(); }
    qsizetype MaxBytes() const { return FTiles.maxCost(); }

private:
    QCache<QByteArray, QImage> FTiles;
};

// Paints path with the painter's pen and brush, antialiased, from this thread's tile cache of
// 16 MiB. Only on a bitmap where whole picture pixels fall on whole device pixels (scales 1 to
// 8), and for shapes up to 512 device pixels a side; elsewhere false, and nothing is painted.
bool DrawShapeTile(QPainter &painter, const QPainterPath &path);
