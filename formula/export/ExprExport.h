// A typeset formula as LaTeX, as presentation MathML and as a spoken description, each written
// from the node tree the picture is painted from, so it says what the picture shows: the same
// brackets, scripts, signs and number texts (decimal comma). Plain C++; every text is UTF-8.
//
// root is the first node of the formula's outermost row: a parsed formula, or the chain of a
// picture (its empty heads and the blanks round the formula are left out). The tree may be laid
// out or not. A node class that a format does not know throws std::logic_error.
#pragma once

#include "formula/draw/ExprClass.h"
#include "formula/export/SpeechTexts.h"

#include <string>
#include <vector>

// Math-mode LaTeX (no surrounding $) for LaTeX with amsmath and amssymb, or KaTeX. Texts go into
// \text{}, which needs a font with Cyrillic letters in LaTeX.
std::string ExprToLatex(TExprClass &root);

struct TMathMLOptions {
    // display="block" (a formula on its own line) or inline.
    bool Block = true;
    // An alttext attribute (a speech text, for example) when not empty.
    std::string AltText;
};

// One <math> element in the MathML namespace, on one line.
std::string ExprToMathML(TExprClass &root, const TMathMLOptions &options = {});

// The formula read aloud, as a teacher reads it, in the language of texts.
std::string ExprToSpeech(TExprClass &root, const TSpeechTexts &texts = RussianSpeech());

enum class TExportFormat { Latex, MathML, Speech };

// The registered node kinds (formula/draw/ExprKinds.h) that format cannot write, by name; empty
// when it covers them all.
std::vector<std::string> KindsWithoutExport(TExportFormat format);
