// Normalization: the typed operator pairs, the ellipsis and the spaced ampersand folded into
// one code character each, before the grammar reads the text.
#include "formula/make/ExprMake.h"

#include <array>

namespace {

struct TPair {
    char First, Second, Code;
};

// Every operator pair and the code character it folds into.
constexpr std::array<TPair, 19> Pairs = {{
    {'!', '(', ccForcedRound},  {'*', '*', ccJoin},        {'*', '+', ccCross},
    {'*', '.', ccDot},          {'+', '-', ccPlusMinus},   {'-', '+', ccMinusPlus},
    {'-', '>', ccTendsTo},      {'/', '+', ccDivide},      {'/', '/', ccSlash},
    {'<', '<', ccMuchLess},     {'<', '=', ccLessEqual},   {'<', '>', ccNotEqual},
    {'<', '~', ccLessSim},      {'=', '=', ccIdentical},   {'=', '~', ccTildeBar},
    {'>', '=', ccGreaterEqual}, {'>', '>', ccMuchGreater}, {'>', '~', ccGreaterSim},
    {'~', '~', ccApprox},
}};

} // namespace

std::string Normalize(std::string_view s, std::vector<int32_t> *origin) {
    std::string out;
    out.reserve(s.size());
    if (origin) {
        origin->clear();
        origin->reserve(s.size() + 1);
    }
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = s[i];
        // Pairs are looked at only while a character follows, the three-character forms only
        // while two follow.
        const bool one = i + 1 < n, two = i + 2 < n;
        char code = c;
        std::size_t take = 1;
        if (two && ((c == ' ' && s[i + 1] == '&' && s[i + 2] == ' ') ||
                    (c == '.' && s[i + 1] == '.' && s[i + 2] == '.'))) {
            code = c == ' ' ? '&' : char{ccEllipsis};
            take = 3;
        } else if (one) {
            for (const TPair &p : Pairs) {
                if (p.First == c && p.Second == s[i + 1]) {
                    code = p.Code;
                    take = 2;
                    break;
                }
            }
        }
        out += code;
        if (origin) origin->push_back(static_cast<int32_t>(i));
        i += take;
    }
    if (origin) origin->push_back(static_cast<int32_t>(n));
    return out;
}
