#include "results/FormulaShare.h"

#include "formula/draw/ExprParents.h"
#include "formula/export/ExprExport.h"
#include "results/DrawFunc.h"
#include "results/RunTarget.h"
#include "results/WholeFile.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
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
        texts.Speech = ExprToSpeech(picture.Chain(), SpeechIn(TextLanguage()));
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
    return InlineSvg(bytes);
}

QByteArray InlineSvg(const QByteArray &generated) {
    const qsizetype start = generated.indexOf("<svg");
    if (start < 0) return {};
    QString svg = QString::fromUtf8(generated.mid(start));
    static const QRegularExpression noise(
        QStringLiteral("<title>[^<]*</title>\\s*|<desc>[^<]*</desc>\\s*|<defs>\\s*</defs>\\s*|"
                       " vector-effect=\"none\"| transform=\"matrix\\(1,0,0,1,0,0\\)\""));
    static const QRegularExpression emptyGroup(QStringLiteral("<g [^>]*>\\s*</g>\\s*"));
    static const QRegularExpression fontless(
        QStringLiteral("(<g [^>]*?)\\s*font-family=\"[^\"]*\" font-size=\"[^\"]*\" "
                       "font-weight=\"[^\"]*\" font-style=\"[^\"]*\"\\s*(>(?:(?!</g>).)*?</g>)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression path(QStringLiteral(" d=\"([^\"]*)\""));
    static const QRegularExpression number(QStringLiteral("-?\\d+\\.\\d+"));
    svg.remove(noise);
    svg.remove(emptyGroup);
    // A group whose text is not a <text> element needs no font.
    QString out;
    out.reserve(svg.size());
    qsizetype from = 0;
    for (auto m = fontless.globalMatch(svg); m.hasNext();) {
        const QRegularExpressionMatch group = m.next();
        out += QStringView(svg).mid(from, group.capturedStart() - from);
        out += group.captured(2).contains(QStringLiteral("<text"))
                   ? group.captured(0)
                   : group.captured(1) + group.captured(2);
        from = group.capturedEnd();
    }
    out += QStringView(svg).mid(from);
    svg.clear();
    from = 0;
    for (auto m = path.globalMatch(out); m.hasNext();) {
        const QRegularExpressionMatch d = m.next();
        svg += QStringView(out).mid(from, d.capturedStart(1) - from);
        QString data = d.captured(1);
        QString rounded;
        qsizetype at = 0;
        for (auto n = number.globalMatch(data); n.hasNext();) {
            const QRegularExpressionMatch value = n.next();
            rounded += QStringView(data).mid(at, value.capturedStart() - at);
            QString text = QString::number(value.captured().toDouble(), 'f', 1);
            if (text.endsWith(QStringLiteral(".0"))) text.chop(2);
            if (text == QStringLiteral("-0")) text = QStringLiteral("0");
            rounded += text;
            at = value.capturedEnd();
        }
        rounded += QStringView(data).mid(at);
        svg += rounded;
        from = d.capturedEnd(1);
    }
    svg += QStringView(out).mid(from);
    return svg.trimmed().toUtf8();
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
