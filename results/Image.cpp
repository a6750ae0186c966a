#include "results/Image.h"

#include <QPainter>

#include <cmath>

TImage::TImage(int width, int height, QWidget *parent) : QWidget(parent) {
    setFixedSize(width, height);
    FSize = QSize(width, height);
}

void TImage::SetZoom(qreal zoom) {
    if (qFuzzyCompare(zoom, FZoom)) return;
    FZoom = zoom;
    setFixedSize(qRound(FSize.width() * zoom), qRound(FSize.height() * zoom));
    if (FBitmap.isNull()) return;
    MakeBitmap();
    if (FRepaint) {
        FRepainting = true;
        FRepaint();
        FRepainting = false;
    }
    update();
}

QPoint TImage::ToBitmap(QPointF widget) const {
    return (widget / FZoom).toPoint();
}

QRect TImage::ToWidget(const QRect &bitmap) const {
    return QRectF(QPointF(bitmap.topLeft()) * FZoom, QSizeF(bitmap.size()) * FZoom).toRect();
}

qreal TImage::BitmapRatio() const {
    // Whole device pixels only: a fractional ratio is rounded up, and the bitmap is shown scaled
    // down by the rest.
    return std::max<qreal>(1, std::ceil(devicePixelRatioF() - 0.01)) * FZoom;
}

void TImage::MakeBitmap() {
    const qreal ratio = BitmapRatio();
    FBitmap =
        QImage(qRound(FSize.width() * ratio), qRound(FSize.height() * ratio), QImage::Format_RGB32);
    FBitmap.setDevicePixelRatio(ratio);
    // 96 dpi at ratio 1, what the formula pictures are measured at.
    FBitmap.setDotsPerMeterX(qRound(3780 * ratio));
    FBitmap.setDotsPerMeterY(qRound(3780 * ratio));
    FBitmap.fill(Qt::white);
}

QImage &TImage::Bitmap() {
    if (FBitmap.isNull()) MakeBitmap();
    update();
    return FBitmap;
}

void TImage::paintEvent(QPaintEvent *) {
    if (FBitmap.isNull()) return;
    if (!qFuzzyCompare(FBitmap.devicePixelRatio(), BitmapRatio()) && FRepaint && !FRepainting) {
        FRepainting = true;
        MakeBitmap();
        FRepaint();
        FRepainting = false;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), FBitmap);
    if (hasFocus() && !FMark.isEmpty()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToWidget(FMark).adjusted(1, 1, -1, -1));
    }
}

void TImage::SetMark(const QRect &mark) {
    FMark = mark;
    update();
}
