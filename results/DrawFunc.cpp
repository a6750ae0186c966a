#include "results/DrawFunc.h"

std::unique_ptr<TExprFont> FormulaFont;
TColor PrefixColor = clBlack;
TColor SuffixColor = clBlack;

void InitFormulaFont() {
    FormulaFont = std::make_unique<TExprFont>();
    FormulaFont->SetName("Comic Sans MS");
    PrefixColor = clBlack;
    SuffixColor = clBlack;
}

void DoneFormulaFont() {
    FormulaFont.reset();
}

void SetFormulaFontSize(int32_t size) {
    if (FormulaFont) FormulaFont->SetSize(size);
}
