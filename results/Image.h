// An image area: a widget of fixed size that shows its own bitmap. The bitmap has the widget's
// size, starts white and is created the first time someone draws on it.
#pragma once

#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(int width, int height, QWidget *parent = nullptr);

    // The drawing surface, created white on first use. Taking it schedules a repaint, so what is
    // painted on it is shown once control returns to the event loop.
    QImage &Bitmap();
    // True once Bitmap() has been called.
    bool HasBitmap() const { return !FBitmap.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage FBitmap;
};
