// Character classes and name helpers shared by the parser's files (internal to formula/make).
#pragma once

#include <cstddef>
#include <string_view>

namespace ExprChars {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool IsLatin(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Latin letters and the Cyrillic letters of Windows-1251 (А-я, Ё, ё).
inline bool IsLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsLatin(c) || u >= 0xC0 || u == 0xA8 || u == 0xB8;
}

// Length of the digit run that ends s.
inline std::size_t TrailingDigits(std::string_view s) {
    std::size_t k = 0;
    while (k < s.size() && IsDigit(s[s.size() - 1 - k]))
        ++k;
    return k;
}

// A name upper-cased in ASCII, for comparing with the keyword, symbol and Greek names; longer
// names than any of those are left empty and match none.
class TUpperName {
public:
    explicit TUpperName(std::string_view s) {
        if (s.size() > sizeof FText) return;
        for (std::size_t k = 0; k < s.size(); ++k)
            FText[k] = s[k] >= 'a' && s[k] <= 'z' ? static_cast<char>(s[k] - 'a' + 'A') : s[k];
        FSize = s.size();
    }
    bool operator==(std::string_view other) const {
        return std::string_view(FText, FSize) == other;
    }

private:
    char FText[16] = {};
    std::size_t FSize = 0;
};

} // namespace ExprChars
