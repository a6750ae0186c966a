#include "results/RunTarget.h"

#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "formula/make/ExprMake.h"
#include "results/Chart.h"
#include "results/DrawFunc.h"
#include "results/Image.h"
#include "results/QtCanvas.h"
#include "results/Unit2.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#include <QLabel>
#include <QPainter>

#include <stdexcept>

namespace {

QString FromCp1251(std::string_view text) {
    return QString::fromStdU16String(Cp1251ToUtf16(text));
}

// The formula picture laid out as DrawFunc lays it out (the five-node chain at (5, 5), cut to
// its width and height + 4), painted straight through the painter: white, then the formula,
// then the frame.
QSize PaintPicture(QPainter &painter, int32_t x, int32_t y, std::string_view formula, bool framed) {
    if (!FormulaFont) throw std::logic_error("formula pictures need the results window");
    TExprBuilder builder;
    PExpr body = builder.BuildExpr(formula);
    PExpr head = std::make_unique<TExprVar>("");
    head->AddNext(std::make_unique<TExprSimple>(""));
    auto prefix = std::make_unique<TExprVar>(" ");
    TExprClass *prefixNode = prefix.get();
    head->AddNext(std::move(prefix));
    TExprClass *bodyNode = body.get();
    head->AddNext(std::move(body));
    auto suffix = std::make_unique<TExprVar>(" ");
    TExprClass *suffixNode = suffix.get();
    head->AddNext(std::move(suffix));
    prefixNode->SetColor(PrefixColor);
    bodyNode->SetColor(FormulaFont->Color());
    suffixNode->SetColor(SuffixColor);
    TExprChain chain(std::move(head));
    TQtCanvas canvas(&painter);
    chain.SetCanvas(&canvas);
    chain.SetFont(*FormulaFont);
    const QSize size(chain.Width() + 4, chain.Height() + 4);
    painter.save();
    painter.setClipRect(QRect(x, y, size.width(), size.height()), Qt::IntersectClip);
    painter.fillRect(QRect(x, y, size.width(), size.height()), Qt::white);
    chain.Draw(x + 5, y + 5, 0, 0);
    if (framed) {
        canvas.SetPen(TPenStyle::Solid, 1, clBlack);
        canvas.MoveTo(x, y);
        canvas.LineTo(x + size.width() - 1, y);
        canvas.LineTo(x + size.width() - 1, y + size.height() - 1);
        canvas.LineTo(x, y + size.height() - 1);
        canvas.LineTo(x, y);
    }
    painter.restore();
    return size;
}

} // namespace

// The painter of one operation: the image's bitmap opened for it, or the area's own painter
// clipped to the area.
class TQtImageArea::TPaintScope {
public:
    explicit TPaintScope(TQtImageArea &area) {
        if (area.FImage) {
            FOwn.begin(&area.FImage->Bitmap());
            FPainter = &FOwn;
        } else {
            FPainter = area.FPainter;
            FPainter->save();
            FPainter->setClipRect(QRect(0, 0, area.FWidth, area.FHeight), Qt::IntersectClip);
        }
    }
    ~TPaintScope() {
        if (FPainter != &FOwn) FPainter->restore();
    }
    QPainter &Painter() { return *FPainter; }

private:
    QPainter FOwn;
    QPainter *FPainter = nullptr;
};

TQtImageArea::TQtImageArea(TImage &image)
    : FImage(&image), FWidth(image.width()), FHeight(image.height()) {}

TQtImageArea::TQtImageArea(QPainter &painter, int32_t width, int32_t height)
    : FPainter(&painter), FWidth(width), FHeight(height) {}

TQtImageArea::~TQtImageArea() = default;

void TQtImageArea::Clear() {
    {
        TPaintScope scope(*this);
        TQtCanvas canvas(&scope.Painter());
        canvas.Rectangle(0, 0, FWidth, FHeight);
    }
    FLog.clear();
    FLog.push_back(TAreaOp{});
}

void TQtImageArea::SelectTextFont(std::string_view face, int32_t points, bool bold,
                                  uint8_t charset) {
    FTextFont = TFontData{};
    FTextFont.Name = std::string(face);
    FTextFont.Height = -MulDiv(points, 96, 72);
    FTextFont.Style = bold ? fsBold : 0;
    FTextFont.Charset = charset;
}

int32_t TQtImageArea::TextHeightOf(std::string_view text) {
    TQtCanvas canvas;
    canvas.SetFont(FTextFont);
    return canvas.TextExtent(text).cy;
}

void TQtImageArea::TextOut(int32_t x, int32_t y, std::string_view text) {
    {
        TPaintScope scope(*this);
        TQtCanvas canvas(&scope.Painter());
        canvas.SetFont(FTextFont);
        canvas.TextOut(x, y, text);
    }
    TAreaOp op;
    op.Kind = TAreaOp::KText;
    op.X = x;
    op.Y = y;
    op.Font = FTextFont;
    op.Text = std::string(text);
    FLog.push_back(std::move(op));
}

int32_t TQtImageArea::DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) {
    QSize size;
    {
        TPaintScope scope(*this);
        size = PaintPicture(scope.Painter(), x, y, formula, framed);
    }
    TAreaOp op;
    op.Kind = TAreaOp::KFormula;
    op.X = x;
    op.Y = y;
    op.FontPoints = FormulaFont ? FormulaFont->Size() : 0;
    op.Width = size.width();
    op.Height = size.height();
    op.Framed = framed;
    op.Text = std::string(formula);
    FLog.push_back(std::move(op));
    return size.height();
}

void TQtImageArea::Replay(const std::vector<TAreaOp> &log) {
    const int32_t formulaPoints = FormulaFont ? FormulaFont->Size() : 0;
    for (const TAreaOp &op : log) {
        switch (op.Kind) {
        case TAreaOp::KClear:
            Clear();
            break;
        case TAreaOp::KText:
            FTextFont = op.Font;
            TextOut(op.X, op.Y, op.Text);
            break;
        case TAreaOp::KFormula:
            ::SetFormulaFontSize(op.FontPoints);
            DrawFormula(op.Text, op.X, op.Y, op.Framed);
            break;
        }
    }
    ::SetFormulaFontSize(formulaPoints);
}

class TFrmRunTarget::TSeries : public TChartSeries {
public:
    TSeries(int chart, int index, TChartLine &line) : Chart(chart), Index(index), FLine(line) {}
    void Clear() override { FLine.Clear(); }
    void AddXY(double x, double y) override { FLine.AddXY(x, y); }
    const int Chart, Index;

private:
    TChartLine &FLine;
};

TFrmRunTarget::TFrmRunTarget(TFrmRun &frmRun) : FFrmRun(frmRun) {
    for (int n = 1; n <= 9; ++n)
        FAreas[static_cast<size_t>(n)] = std::make_unique<TQtImageArea>(*frmRun.Image(n));
    for (int chart : TFrmRun::ChartNumbers)
        for (int index = 0; index < TChart::SeriesCount; ++index)
            FSeries.push_back(
                std::make_unique<TSeries>(chart, index, frmRun.Chart(chart)->Series(index)));
}

TFrmRunTarget::~TFrmRunTarget() = default;

TQtImageArea &TFrmRunTarget::Image(int number) {
    if (number < 1 || number > 9) throw std::out_of_range("TFrmRunTarget::Image: no such image");
    return *FAreas[static_cast<size_t>(number)];
}

TChartSeries &TFrmRunTarget::Series(int chart, int index) {
    for (const auto &s : FSeries)
        if (s->Chart == chart && s->Index == index) return *s;
    throw std::out_of_range("TFrmRunTarget::Series: no such series");
}

void TFrmRunTarget::SetLabel(int number, std::string_view text) {
    if (number < 3 || number > 6) return;
    FFrmRun.Label(number)->setText(FromCp1251(text));
}

void TFrmRunTarget::SetFormulaFontSize(int32_t points) {
    ::SetFormulaFontSize(points);
}

void TFrmRunTarget::FlushCharts() {
    for (int chart : TFrmRun::ChartNumbers)
        FFrmRun.Chart(chart)->Flush();
}
