// The zoom of the results window's pages: Ctrl+plus (or Ctrl+=), Ctrl+minus, Ctrl+0 and
// Ctrl+wheel step it between 100 % and 300 %. Images paint their log again at the zoomed scale,
// charts draw scaled and labels take scaled fonts, so everything stays sharp and in its place;
// the page scrolls. One zoom for all pages and every results window of this run of the program;
// a page takes it when it is shown.
#pragma once

#include <QObject>

#include <array>

class QTabWidget;
class QWidget;

class TPageZoom : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<qreal, 6> Steps = {1, 1.25, 1.5, 2, 2.5, 3};

    // Zooms the pages of pages (the tabs' scroll areas), with its keys on window.
    TPageZoom(QTabWidget &pages, QWidget &window);

    qreal Zoom() const { return FSession; }
    // Sets the zoom (to the nearest step) and applies it to the current page.
    void SetZoom(qreal zoom);
    void ZoomIn();
    void ZoomOut();

    // While it lives, every page is at 100 % (for painting pages elsewhere, such as on paper).
    class TUnzoomed {
    public:
        explicit TUnzoomed(const QTabWidget &pages);
        ~TUnzoomed();
        TUnzoomed(const TUnzoomed &) = delete;
        TUnzoomed &operator=(const TUnzoomed &) = delete;

    private:
        TPageZoom *FZoom;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyCurrent();
    // Scales page and the widgets on it to zoom from their size at 100 %.
    static void Apply(QWidget &page, qreal zoom);

    QTabWidget &FPages;
    bool FHeld = false;
    static qreal FSession;
};
