#include "results/RunTarget.h"

#include "results/Chart.h"
#include "results/CheckChart.h"
#include "results/DrawFunc.h"
#include "results/Image.h"
#include "results/QtCanvas.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

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

namespace {

// A line wider than its area is drawn smaller, down to this share of its size, before it is
// broken onto a second line.
constexpr double SmallestShare = 0.7;
// A continued formula line starts this much further right than its first line.
constexpr int32_t ContinuationIndent = 20;

std::u16string_view Utf16View(const QString &text) {
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

// The operators a formula line may be broken after: "=", "+" and "-" that join two operands
// (not a sign), and "&", which joins two pieces, each outside every bracket and every quoted
// text. Positions ascending.
std::vector<std::size_t> BreakPoints(std::string_view formula) {
    std::vector<std::size_t> points;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < formula.size(); ++i) {
        const char c = formula[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') --depth;
        if (depth != 0 || i == 0 || i + 1 == formula.size()) continue;
        if (c == '&' ||
            ((c == '=' || c == '+' || c == '-') &&
             std::string_view("=+-*/^_(,&!.").find(formula[i - 1]) == std::string_view::npos))
            points.push_back(i);
    }
    return points;
}

// The two lines of a formula broken at one of its BreakPoints: an operator ends the first line
// and starts the second again, as Russian typesetting repeats it; "&" only joins, so it goes.
std::pair<std::string, std::string> BrokenAt(std::string_view formula, std::size_t at) {
    if (formula[at] == '&') {
        // A blank that only set the piece apart from the one before is not needed at the start
        // of a line.
        std::string_view tail = formula.substr(at + 1);
        if (tail.starts_with("Space(")) {
            const std::size_t close = tail.find(")&");
            if (close != std::string_view::npos &&
                tail.substr(6, close - 6).find_first_not_of("0123456789") == std::string_view::npos)
                tail.remove_prefix(close + 2);
        }
        return {std::string(formula.substr(0, at)), std::string(tail)};
    }
    return {std::string(formula.substr(0, at + 1)) + "Space(0)",
            "Space(0)" + std::string(formula.substr(at))};
}

// The width of a formula's picture at a formula font height; the height of the moment is
// restored.
int32_t FormulaWidthAt(std::string_view formula, int32_t height) {
    const int32_t before = FormulaFont->Height();
    FormulaFont->SetHeight(height);
    int32_t width = 0;
    try {
        width = TFormulaPicture(" ", formula, " ").Width();
    } catch (...) {
        FormulaFont->SetHeight(before);
        throw;
    }
    FormulaFont->SetHeight(before);
    return width;
}

} // namespace

int32_t TQtImageArea::TextWidthIn(const TFontData &font, std::string_view text, bool utf8) {
    TQtCanvas canvas;
    canvas.SetFont(font);
    if (!utf8) return canvas.TextExtent(text).cx;
    const QString wide = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return canvas.TextExtentW(Utf16View(wide)).cx;
}

void TQtImageArea::FitText(int32_t x, int32_t y, std::string_view text, bool utf8) {
    // Drawn smaller when it would run past the area's right edge; at its smallest it is drawn
    // as it is.
    const TFontData font = FTextFont;
    const int32_t room = FWidth - x;
    if (TextWidthIn(font, text, utf8) > room) {
        const int32_t full = std::abs(font.Height);
        const int32_t least = static_cast<int32_t>(std::ceil(full * SmallestShare));
        TFontData smaller = font;
        for (int32_t h = full - 1; h >= least; --h) {
            smaller.Height = font.Height < 0 ? -h : h;
            if (TextWidthIn(smaller, text, utf8) <= room || h == least) break;
        }
        FTextFont = smaller;
    }
    PaintText(x, y, text, utf8);
    FTextFont = font;
}

void TQtImageArea::PaintText(int32_t x, int32_t y, std::string_view text, bool utf8) {
    {
        TPaintScope scope(*this);
        TQtCanvas canvas(&scope.Painter());
        canvas.SetFont(FTextFont);
        if (utf8) {
            const QString wide =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            canvas.TextOutW(x, y, Utf16View(wide));
        } else {
            canvas.TextOut(x, y, text);
        }
    }
    TAreaOp op;
    op.Kind = TAreaOp::KText;
    op.X = x;
    op.Y = y;
    op.Font = FTextFont;
    op.Utf8 = utf8;
    op.Text = std::string(text);
    FLog.push_back(std::move(op));
}

void TQtImageArea::TextOut(int32_t x, int32_t y, std::string_view text) {
    FitText(x, y, text, false);
}

void TQtImageArea::TextOutUtf8(int32_t x, int32_t y, std::string_view utf8) {
    FitText(x, y, utf8, true);
}

std::vector<TQtImageArea::TFormulaLine> TQtImageArea::FormulaLines(std::string_view formula,
                                                                   int32_t x, int32_t height) {
    const int32_t room = FWidth - x;
    if (FormulaWidthAt(formula, height) <= room) return {{std::string(formula), x, height}};
    // Pixel by pixel, so a line that is a little too wide shrinks only a little.
    const int32_t sign = height < 0 ? -1 : 1, full = std::abs(height);
    const int32_t least = static_cast<int32_t>(std::ceil(full * SmallestShare));
    for (int32_t h = full - 1; h >= least; --h)
        if (FormulaWidthAt(formula, sign * h) <= room) return {{std::string(formula), x, sign * h}};
    // Broken after the last operator whose first part fits at the full size; the rest is
    // fitted again. Without such an operator the line is drawn at its smallest size.
    const std::vector<std::size_t> breaks = BreakPoints(formula);
    for (auto at = breaks.rbegin(); at != breaks.rend(); ++at) {
        const auto [head, tail] = BrokenAt(formula, *at);
        if (FormulaWidthAt(head, height) > room) continue;
        std::vector<TFormulaLine> lines = {{head, x, height}};
        const int32_t indent = std::min(x + ContinuationIndent, std::max(FWidth / 2, x));
        for (TFormulaLine &line : FormulaLines(tail, indent, height))
            lines.push_back(std::move(line));
        return lines;
    }
    return {{std::string(formula), x, sign * least}};
}

int32_t TQtImageArea::DrawFormula(std::string_view formula, int32_t x, int32_t y, bool framed) {
    const int32_t height = FormulaFont->Height();
    const std::vector<TFormulaLine> lines = FormulaLines(formula, x, height);
    if (lines.size() == 1 && lines[0].FontHeight == height)
        return PaintFormula(formula, x, y, framed);
    // A smaller line keeps the row of the line it replaces, centred in it, so the rows of a
    // table stay evenly spaced; broken lines take the rows they need.
    const int32_t full = TFormulaPicture(" ", formula, " ").Height();
    int32_t total = 0;
    for (const TFormulaLine &line : lines) {
        FormulaFont->SetHeight(line.FontHeight);
        const int32_t h = TFormulaPicture(" ", line.Text, " ").Height();
        const int32_t shift = lines.size() == 1 ? std::max(full - h, 0) / 2 : 0;
        total += PaintFormula(line.Text, line.X, Sat32(int64_t{y} + total + shift), framed);
        if (lines.size() == 1) total = std::max(full, h);
    }
    FormulaFont->SetHeight(height);
    LastFormulaHeight = total;
    return total;
}

int32_t TQtImageArea::PaintFormula(std::string_view formula, int32_t x, int32_t y, bool framed) {
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
    op.FontHeight = FormulaFont->Height();
    op.Width = picture.Width();
    op.Height = picture.Height();
    op.Framed = framed;
    op.Text = std::string(formula);
    FLog.push_back(std::move(op));
    return picture.Height();
}

void TQtImageArea::Replay(const std::vector<TAreaOp> &log) {
    // Each operation as it was painted: the fitting was done then.
    const int32_t formulaHeight = FormulaFont ? FormulaFont->Height() : 0;
    for (const TAreaOp &op : log) {
        switch (op.Kind) {
        case TAreaOp::KClear:
            Clear();
            break;
        case TAreaOp::KText:
            FTextFont = op.Font;
            PaintText(op.X, op.Y, op.Text, op.Utf8);
            break;
        case TAreaOp::KFormula:
            if (FormulaFont) FormulaFont->SetHeight(op.FontHeight);
            PaintFormula(op.Text, op.X, op.Y, op.Framed);
            break;
        }
    }
    if (FormulaFont) FormulaFont->SetHeight(formulaHeight);
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

TFrmRunTarget::TFrmRunTarget(const TRunWidgets &widgets) : FWidgets(widgets) {
    for (int n = 1; n <= 11; ++n)
        FAreas[static_cast<size_t>(n)] =
            std::make_unique<TQtImageArea>(*widgets.Images[static_cast<size_t>(n)]);
    // Both kinds of chart hand out their series as chart lines.
    auto addSeries = [this](int chart, TChartBase &view, int count) {
        for (int index = 0; index < count; ++index)
            FSeries.push_back(std::make_unique<TSeries>(chart, index, view.Series(index)));
    };
    for (std::size_t chart = 0; chart < widgets.Charts.size(); ++chart)
        if (TChart *view = widgets.Charts[chart])
            addSeries(static_cast<int>(chart), *view, TChart::SeriesCount);
    for (int i = 0; i < 2; ++i)
        addSeries(13 + i, *widgets.CheckCharts[static_cast<size_t>(i)], TCheckChart::SeriesCount);
}

TFrmRunTarget::~TFrmRunTarget() = default;

TQtImageArea &TFrmRunTarget::Image(int number) {
    if (number < 1 || number > 11) throw std::out_of_range("TFrmRunTarget::Image: no such image");
    return *FAreas[static_cast<size_t>(number)];
}

TChartSeries &TFrmRunTarget::Series(int chart, int index) {
    for (const auto &s : FSeries)
        if (s->Chart == chart && s->Index == index) return *s;
    throw std::out_of_range("TFrmRunTarget::Series: no such series");
}

void TFrmRunTarget::SetLabel(int number, std::string_view text) {
    if (number < 3 || number > 6) return;
    FWidgets.Labels[static_cast<size_t>(number)]->setText(FromCp1251(text));
}

void TFrmRunTarget::SetFormulaFontSize(int32_t points) {
    ::SetFormulaFontSize(points);
}

void TFrmRunTarget::FlushCharts() {
    for (TChart *chart : FWidgets.Charts)
        if (chart) chart->Flush();
    for (TCheckChart *chart : FWidgets.CheckCharts)
        chart->Flush();
}
