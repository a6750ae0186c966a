#include "results/RunTarget.h"

#include "results/Chart.h"
#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/Image.h"
#include "results/QtCanvas.h"
#include "results/Unit2.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#include <QLabel>
#include <QPainter>

#include <stdexcept>

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
    : FImage(&image), FWidth(image.width()), FHeight(image.height()) {
    // On a screen of another pixel ratio the new bitmap gets the same pictures again.
    image.SetRepaint([this] {
        if (!FormulaFont) return;
        const std::vector<TAreaOp> log = FLog;
        Replay(log);
    });
}

TQtImageArea::TQtImageArea(QPainter &painter, int32_t width, int32_t height)
    : FPainter(&painter), FWidth(width), FHeight(height) {}

TQtImageArea::~TQtImageArea() {
    if (FImage) FImage->SetRepaint(nullptr);
}

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
    return ::TextHeightOf(canvas, text);
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

void TQtImageArea::TextOutUtf8(int32_t x, int32_t y, std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    {
        TPaintScope scope(*this);
        TQtCanvas canvas(&scope.Painter());
        canvas.SetFont(FTextFont);
        canvas.TextOutW(x, y,
                        std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                            static_cast<std::size_t>(text.size())));
    }
    TAreaOp op;
    op.Kind = TAreaOp::KText;
    op.X = x;
    op.Y = y;
    op.Font = FTextFont;
    op.Utf8 = true;
    op.Text = std::string(utf8);
    FLog.push_back(std::move(op));
}

int32_t TQtImageArea::DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) {
    // The blanks around the formula are those of FormulaBitmap. Painted through the painter,
    // at the bitmap's device pixel ratio or as vectors on a PDF page.
    TFormulaPicture picture(" ", formula, " ");
    {
        TPaintScope scope(*this);
        picture.Paint(scope.Painter(), x, y, framed);
    }
    LastFormulaHeight = picture.Height();
    TAreaOp op;
    op.Kind = TAreaOp::KFormula;
    op.X = x;
    op.Y = y;
    op.FontPoints = FormulaFont->Size();
    op.Width = picture.Width();
    op.Height = picture.Height();
    op.Framed = framed;
    op.Text = std::string(formula);
    FLog.push_back(std::move(op));
    return picture.Height();
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
            if (op.Utf8)
                TextOutUtf8(op.X, op.Y, op.Text);
            else
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

class TFrmRunTarget::TCheckSeries : public TChartSeries {
public:
    TCheckSeries(int chart, int index, TCheckChart &view)
        : Chart(chart), Index(index), FView(view) {}
    void Clear() override { FView.Clear(Index); }
    void AddXY(double x, double y) override { FView.AddXY(Index, x, y); }
    const int Chart, Index;

private:
    TCheckChart &FView;
};

TFrmRunTarget::TFrmRunTarget(TFrmRun &frmRun) : FFrmRun(frmRun) {
    for (int n = 1; n <= 11; ++n)
        FAreas[static_cast<size_t>(n)] = std::make_unique<TQtImageArea>(*frmRun.Image(n));
    for (int chart : TFrmRun::ChartNumbers)
        for (int index = 0; index < TChart::SeriesCount; ++index)
            FSeries.push_back(
                std::make_unique<TSeries>(chart, index, frmRun.Chart(chart)->Series(index)));
    for (int chart : {13, 14})
        for (int index = 0; index < TCheckChart::SeriesCount; ++index)
            FCheckSeries.push_back(
                std::make_unique<TCheckSeries>(chart, index, *frmRun.CheckChart(chart)));
}

TFrmRunTarget::~TFrmRunTarget() = default;

TQtImageArea &TFrmRunTarget::Image(int number) {
    if (number < 1 || number > 11) throw std::out_of_range("TFrmRunTarget::Image: no such image");
    return *FAreas[static_cast<size_t>(number)];
}

TChartSeries &TFrmRunTarget::Series(int chart, int index) {
    for (const auto &s : FSeries)
        if (s->Chart == chart && s->Index == index) return *s;
    for (const auto &s : FCheckSeries)
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
    for (int chart : {13, 14})
        FFrmRun.CheckChart(chart)->Flush();
}
