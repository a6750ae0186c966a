#include "results/Image.h"

#include <QPainter>

TImage::TImage(int width, int height, QWidget *parent) : QWidget(parent) {
    setFixedSize(width, height);
}

QImage &TImage::Bitmap() {
    if (FBitmap.isNull()) {
        FBitmap = QImage(width(), height(), QImage::Format_RGB32);
        // 96 dpi, what the formula pictures are measured at.
        FBitmap.setDotsPerMeterX(3780);
        FBitmap.setDotsPerMeterY(3780);
        FBitmap.fill(Qt::white);
    }
    update();
    return FBitmap;
}

void TImage::paintEvent(QPaintEvent *) {
    if (FBitmap.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, FBitmap);
}
