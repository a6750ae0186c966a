// The cursor on the normalized text and the literal readers: commas between arguments, strings,
// number literals and integer arguments.
#include "formula/make/ExprMake.h"

#include "formula/make/ExprNames.h"
#include "runtime/NumText.h"

#include <cmath>

using ExprChars::IsDigit;

char TExprBuilder::At(int32_t pos) const {
    return pos >= 1 && static_cast<std::size_t>(pos) <= Text.size() ? Text[pos - 1] : '\0';
}

char TExprBuilder::Cur() const {
    return At(Pos);
}

void TExprBuilder::Fail(const std::string &message, int32_t position) const {
    throw EIncorrectExpr(message, position);
}

bool TExprBuilder::SkipComma() {
    if (Cur() != ',') return false;
    ++Pos;
    // The final blank is never passed.
    while (Cur() == ' ' && Pos < static_cast<int32_t>(Text.size()) - 1)
        ++Pos;
    return true;
}

void TExprBuilder::ExpectComma() {
    if (!SkipComma()) Fail(ExprMessages::ExpectComma(), Pos);
}

void TExprBuilder::Expect(char closing, const std::string &message) {
    if (Cur() != closing) Fail(message, Pos);
    ++Pos;
}

std::string TExprBuilder::ReadString() {
    const int32_t last = static_cast<int32_t>(Text.size());
    std::string s;
    // Each character of Text stands for what was typed there: folded pairs come back as typed.
    auto typed = [this, &s](int32_t pos) {
        const std::size_t k = static_cast<std::size_t>(pos - 1);
        if (k + 1 < FOrigin.size())
            s.append(FTyped, FOrigin[k], FOrigin[k + 1] - FOrigin[k]);
        else
            s += Text[k];
    };
    if (Cur() == '"') {
        ++Pos;
        for (;;) {
            if (Pos >= last) Fail(ExprMessages::UnterminatedString(), 0);
            if (Cur() == '"') {
                if (At(Pos + 1) != '"') {
                    ++Pos;
                    break;
                }
                s += '"';
                Pos += 2;
                continue;
            }
            typed(Pos);
            ++Pos;
        }
        return s;
    }
    for (;;) {
        if (Pos >= last) Fail(ExprMessages::UnterminatedString(), 0);
        if (Cur() == ')') break;
        typed(Pos);
        ++Pos;
    }
    return s;
}

long double TExprBuilder::ReadNumberLiteral(bool signAllowed) {
    const int32_t start = Pos;
    const std::string_view rest = std::string_view(Text).substr(Pos - 1);
    std::size_t lead = 0;
    if (signAllowed && !rest.empty() && (rest[0] == '+' || rest[0] == '-')) lead = 1;
    if (lead >= rest.size() || !IsDigit(rest[lead])) Fail(ExprMessages::ExpectNumber(), start);
    long double v = 0;
    // The reader sees a little more than the longest literal, so its work stays bounded; the
    // extra three characters decide an exponent that would begin at the limit.
    const std::string_view view = rest.substr(0, MaxLiteral + 3);
    const int rejected = ValExtended(view, v);
    const int32_t length = rejected > 0 ? rejected - 1 : static_cast<int32_t>(view.size());
    if (length > MaxLiteral) Fail(ExprMessages::TooLongNumber(), start);
    // Beyond the extended range the reader gives an infinity, which no formula means.
    if (std::isinf(v)) Fail(ExprMessages::OutOfRange(), start);
    Pos += length;
    return v;
}

int32_t TExprBuilder::ReadInteger(bool required) {
    const int32_t start = Pos;
    const std::string_view rest = std::string_view(Text).substr(Pos - 1);
    std::size_t i = 0;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) i = 1;
    std::size_t end = i;
    while (end < rest.size() && IsDigit(rest[end]))
        ++end;
    // A sign without digits is no number: nothing is consumed.
    if (end == i) {
        if (required) Fail(ExprMessages::ExpectNumber(), start);
        return 0;
    }
    if (end > static_cast<std::size_t>(MaxLiteral)) Fail(ExprMessages::TooLongNumber(), start);
    int32_t value = 0;
    bool overflow = false;
    ValInt32(rest.substr(0, end), value, &overflow);
    if (overflow) Fail(ExprMessages::OutOfRange(), start);
    Pos += static_cast<int32_t>(end);
    return value;
}
