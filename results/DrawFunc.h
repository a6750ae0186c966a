// The formula font: the one font every formula picture is typeset in. It lives from the creation
// of the results window to its destruction.
#pragma once

#include "formula/draw/Canvas.h"
#include "formula/draw/ExprFont.h"

#include <cstdint>
#include <memory>

// Null outside InitFormulaFont .. DoneFormulaFont.
extern std::unique_ptr<TExprFont> FormulaFont;

// Colours of the leading and trailing text of a formula picture.
extern TColor PrefixColor;
extern TColor SuffixColor;

// Creates FormulaFont ("Comic Sans MS", everything else the defaults) and sets both colours to
// black. A second call starts over with a fresh font.
void InitFormulaFont();

// Frees FormulaFont; harmless when there is none.
void DoneFormulaFont();

// The point size of FormulaFont for every picture built afterwards; ignored when there is no font.
void SetFormulaFontSize(int32_t size);
