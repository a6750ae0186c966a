// An image area: a widget of fixed size that shows its own bitmap. The bitmap covers the widget at
// the screen's device pixel ratio (what is painted on it through a QPainter lands at the full
// resolution, in the widget's own coordinates), starts white and is created the first time
// someone draws on it.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(int width, int height, QWidget *parent = nullptr);

    // The drawing surface, created white on first use. Taking it schedules a repaint, so what is
    // painted on it is shown once control returns to the event loop.
    QImage &Bitmap();
    // True once Bitmap() has been called.
    bool HasBitmap() const { return !FBitmap.isNull(); }

    // Called with a new white bitmap when the widget has come to a screen of another device pixel
    // ratio, to paint its contents again.
    void SetRepaint(std::function<void()> repaint) { FRepaint = std::move(repaint); }

    // The keyboard's mark, drawn round this rectangle while the image has the focus; an empty
    // one draws none.
    void SetMark(const QRect &mark);
    QRect Mark() const { return FMark; }

    // The zoom the image is shown at: the widget grows by it and the bitmap is made at that much
    // finer a ratio and painted again, so the pictures stay sharp where they were. Positions of
    // the bitmap (the mark, the log) stay unzoomed; these map between them and the widget's.
    void SetZoom(qreal zoom);
    qreal Zoom() const { return FZoom; }
    QPoint ToBitmap(QPointF widget) const;
    QRect ToWidget(const QRect &bitmap) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The device pixel ratio the bitmap is made at.
    qreal BitmapRatio() const;
    void MakeBitmap();

    QImage FBitmap;
    std::function<void()> FRepaint;
    bool FRepainting = false;
    QRect FMark;
    QSize FSize;
    qreal FZoom = 1;
};
