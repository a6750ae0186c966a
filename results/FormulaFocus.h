// The formulas of an image area for the keyboard and the mouse: a right-click on a formula offers
// "Копировать как рисунок", "Копировать как LaTeX" and "Копировать как MathML"; with the area
// focused the arrow keys, Home and End move a visible mark from formula to formula in reading
// order, Ctrl+C copies the marked one in every format at once, and the menu key (or Shift+F10)
// opens its menu.
#pragma once

#include <QObject>
#include <QRect>

#include <functional>
#include <vector>

class QMimeData;
class QPoint;
class TImage;
class TQtImageArea;
struct TAreaOp;

class TFormulaFocus : public QObject {
    Q_OBJECT
public:
    enum class TCopy { All, Picture, Latex, MathML };

    // Watches image, whose formulas area paints; both must outlive it (it is image's child).
    TFormulaFocus(TImage &image, const TQtImageArea &area);

    const TQtImageArea &Area() const { return FArea; }
    // The area's formulas in reading order.
    std::vector<const TAreaOp *> Formulas() const;
    // The marked formula's index in Formulas(); -1 when none is.
    int Current() const { return FCurrent; }
    void SetCurrent(int index);
    // The formula under a point of the image, -1 when none is.
    int FormulaAt(QPoint point) const;

    // The clipboard data of a formula in one of the ways; null for no such formula.
    QMimeData *MimeData(int index, TCopy how) const;
    // Puts that on the clipboard; false when there is no such formula.
    bool Copy(int index, TCopy how);

    // Opens the copy menu of a formula at a point of the image. Tests replace it.
    std::function<void(int index, QPoint at)> ShowMenu;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Menu(int index, QPoint at);

    TImage &FImage;
    const TQtImageArea &FArea;
    int FCurrent = -1;
};
