#include "results/FormulaShare.h"

#include "formula/draw/ExprParents.h"
#include "formula/export/ExprExport.h"
#include "results/DrawFunc.h"
#include "results/RunTarget.h"
#include "results/WholeFile.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <exception>

namespace {

// The formula font at the height a formula was logged at, for the lifetime of the scope.
class THeightScope {
public:
    explicit THeightScope(int32_t height) : FBefore(FormulaFont->Height()) {
        FormulaFont->SetHeight(height);
    }
    ~THeightScope() { FormulaFont->SetHeight(FBefore); }
    THeightScope(const THeightScope &) = delete;
    THeightScope &operator=(const THeightScope &) = delete;

private:
    int32_t FBefore;
};

} // namespace

TFormulaTexts FormulaTexts(std::string_view formula, int32_t fontHeight, bool inlineMath) {
    TFormulaTexts texts;
    if (!FormulaFont) return texts;
    THeightScope scope(fontHeight);
    try {
        TFormulaPicture picture(" ", formula, " ");
        texts.Speech = ExprToSpeech(picture.Chain());
        TMathMLOptions options;
        options.Block = !inlineMath;
        options.AltText = texts.Speech;
        texts.MathML = ExprToMathML(picture.Chain(), options);
        texts.Latex = ExprToLatex(picture.Chain());
    } catch (const std::exception &) {
        // A formula the page could draw exports too; should one not, nothing half is handed on.
        return {};
    }
    return texts;
}

QImage FormulaImage(std::string_view formula, int32_t fontHeight, bool framed, int ratio) {
    if (!FormulaFont) return {};
    THeightScope scope(fontHeight);
    try {
        TFormulaPicture picture(" ", formula, " ");
        return picture.Bitmap(TPictureSurface::Sized, framed, TShapeDrawing::Smooth, ratio);
    } catch (const std::exception &) {
        return {};
    }
}

QByteArray FormulaSvg(std::string_view formula, int32_t fontHeight, bool framed) {
    if (!FormulaFont) return {};
    THeightScope scope(fontHeight);
    QByteArray bytes;
    try {
        TFormulaPicture picture(" ", formula, " ");
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(96);
        svg.setSize(QSize(picture.Width(), picture.Height()));
        svg.setViewBox(QRect(0, 0, picture.Width(), picture.Height()));
        QPainter painter;
        if (!painter.begin(&svg)) return {};
        picture.Paint(painter, 0, 0, framed);
        if (!painter.end()) return {};
    } catch (const std::exception &) {
        return {};
    }
    // Inline in a page: the XML prolog and the generator's empty title and description go.
    const qsizetype start = bytes.indexOf("<svg");
    if (start < 0) return {};
    bytes.remove(0, start);
    bytes.replace("<title></title>\n", "");
    bytes.replace("<desc></desc>\n", "");
    return bytes.trimmed();
}

QMimeData *FormulaMimeData(const TAreaOp &op, int ratio) {
    auto *data = new QMimeData;
    const QImage image = FormulaImage(op.Text, op.FontHeight, op.Framed, ratio);
    if (!image.isNull()) {
        const QByteArray png = PngBytes(image);
        if (!png.isEmpty()) data->setData(QStringLiteral("image/png"), png);
        data->setImageData(image);
    }
    const TFormulaTexts texts = FormulaTexts(op.Text, op.FontHeight);
    if (!texts.Latex.empty()) data->setText(QString::fromStdString(texts.Latex));
    if (!texts.MathML.empty()) {
        data->setData(QStringLiteral("application/mathml+xml"),
                      QByteArray::fromStdString(texts.MathML));
        data->setHtml(QStringLiteral("<meta charset=\"utf-8\">") +
                      QString::fromStdString(texts.MathML));
    }
    return data;
}
