// One formula of an image area handed on: as LaTeX, MathML and speech text written from the
// picture's own node tree, as a PNG or an SVG drawn by the same engine at the size it has on its
// page, and as clipboard data carrying all of them at once.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

class QMimeData;
struct TAreaOp;

// The texts of a formula, UTF-8; all empty when the formula cannot be exported.
struct TFormulaTexts {
    std::string Latex;
    std::string MathML;
    std::string Speech;
};

// formula is Windows-1251 formula text as an image area logs it, fontHeight the signed pixel
// height of the formula font it was drawn at. Each needs the formula font (InitFormulaFont) and
// leaves its height as it was.
TFormulaTexts FormulaTexts(std::string_view formula, int32_t fontHeight, bool inlineMath = false);
// The picture at ratio times its 96-dpi size, with that device pixel ratio.
QImage FormulaImage(std::string_view formula, int32_t fontHeight, bool framed, int ratio);
// The picture as one <svg> element (no XML prolog) of its 96-dpi size, the letters drawn as
// outlines so it needs no font where it is shown; empty when it cannot be made.
QByteArray FormulaSvg(std::string_view formula, int32_t fontHeight, bool framed);

// The SVG a QSvgGenerator wrote as one inline <svg> element: without the XML prolog, the
// generator's title and description (a browser would show them as a tooltip), empty groups and
// the font attributes of groups that hold no text; coordinates in paths to a tenth of a pixel.
QByteArray InlineSvg(const QByteArray &generated);

// The clipboard data of a logged formula: a PNG at ratio times the screen's resolution, the
// LaTeX as plain text, application/mathml+xml and text/html carrying the MathML.
QMimeData *FormulaMimeData(const TAreaOp &op, int ratio = 2);
