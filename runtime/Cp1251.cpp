#include "runtime/Cp1251.h"

#include <array>

namespace {

// Bytes 0x80 .. 0xBF; 0xC0 .. 0xFF are the contiguous Cyrillic block U+0410 .. U+044F.
constexpr std::array<char16_t, 64> HighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when it is malformed (truncated,
// overlong, a surrogate or beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t &u) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        u = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, min = 0x80, u = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, min = 0x800, u = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, u = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        u = (u << 6) | (b & 0x3F);
    }
    if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return 0;
    return len;
}

} // namespace

void AppendUtf8(std::string &out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

char16_t Cp1251ToUnicode(unsigned char c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return static_cast<char16_t>(0x0410 + (c - 0xC0));
    return HighTable[c - 0x80];
}

bool UnicodeToCp1251(char32_t u, unsigned char &c) {
    if (u < 0x80) {
        c = static_cast<unsigned char>(u);
        return true;
    }
    if (u >= 0x0410 && u <= 0x044F) {
        c = static_cast<unsigned char>(0xC0 + (u - 0x0410));
        return true;
    }
    if (u == 0xFFFD) // stands for the unassigned byte, which has no character to go back to
        return false;
    for (std::size_t k = 0; k < HighTable.size(); ++k) {
        if (HighTable[k] == u) {
            c = static_cast<unsigned char>(0x80 + k);
            return true;
        }
    }
    return false;
}

std::u16string Cp1251ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (char ch : s)
        out += Cp1251ToUnicode(static_cast<unsigned char>(ch));
    return out;
}

std::string Cp1251ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s)
        AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

bool Utf8ToCp1251(std::string_view utf8, std::string &out, std::size_t *badIndex) {
    out.clear();
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t u = 0;
        const std::size_t len = DecodeUtf8(utf8, i, u);
        unsigned char c = 0;
        if (len == 0 || !UnicodeToCp1251(u, c)) {
            if (badIndex) *badIndex = i;
            return false;
        }
        out += static_cast<char>(c);
        i += len;
    }
    return true;
}

bool Utf16ToCp1251(std::u16string_view s, std::string &out, std::size_t *badIndex) {
    out.clear();
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        // Every Windows-1251 character lies in the basic plane, so a surrogate (paired or not)
        // can never convert.
        unsigned char c = 0;
        if (!UnicodeToCp1251(s[i], c) || (s[i] >= 0xD800 && s[i] <= 0xDFFF)) {
            if (badIndex) *badIndex = i;
            return false;
        }
        out += static_cast<char>(c);
    }
    return true;
}

std::string Win1251(std::string_view utf8) {
    std::string out;
    Utf8ToCp1251(utf8, out);
    return out;
}
