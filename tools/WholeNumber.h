// The one reader of the command-line tools' whole-number option values, so every option takes
// the same forms: decimal digits only, without a sign, blanks or leading zeros.
#pragma once

#include <optional>
#include <string_view>

// The value of text when it has that form and lies within lo .. hi (lo >= 0).
inline std::optional<int> WholeNumberArgument(std::string_view text, int lo, int hi) {
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}
