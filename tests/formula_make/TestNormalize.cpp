// Normalization: every folding rule, the look-ahead limits at the end of the text, blindness to
// quotes and the map back to the typed text.
#include "formula/make/ExprMake.h"

#include <gtest/gtest.h>

namespace {

std::string N(std::string_view s) {
    return Normalize(s);
}

std::string Codes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes)
        s += static_cast<char>(c);
    return s;
}

} // namespace

TEST(Normalize, EveryPairFoldsToItsCode) {
    const struct {
        const char *typed;
        int code;
    } pairs[] = {{"<>", 1},  {">=", 2},  {"<=", 3},  {">>", 4},  {"<<", 5},  {"->", 6},  {"~~", 7},
                 {"+-", 8},  {"-+", 9},  {"==", 10}, {"/+", 11}, {"*+", 12}, {">~", 14}, {"<~", 15},
                 {"//", 16}, {"!(", 17}, {"*.", 18}, {"**", 19}, {"=~", 20}};
    for (const auto &p : pairs) {
        EXPECT_EQ(N(std::string("a") + p.typed + "b"), "a" + Codes({p.code}) + "b") << p.typed;
        // At the very end a pair still folds: one character follows its first.
        EXPECT_EQ(N(p.typed), Codes({p.code})) << p.typed;
    }
    EXPECT_EQ(N("a...b"), "a" + Codes({13}) + "b");
    EXPECT_EQ(N("a & b"), "a&b");
}

TEST(Normalize, SingleCharactersStay) {
    EXPECT_EQ(N("<a>b=c~d!e*f+g-h/i.j"), "<a>b=c~d!e*f+g-h/i.j");
    EXPECT_EQ(N("a&b"), "a&b");
    EXPECT_EQ(N("a &b"), "a &b");
    EXPECT_EQ(N("a& b"), "a& b");
    EXPECT_EQ(N(""), "");
}

TEST(Normalize, LeftToRightTakesTheFirstPair) {
    // "<<=" is "<<" then "=", not "<" then "<=".
    EXPECT_EQ(N("<<="), Codes({5}) + "=");
    EXPECT_EQ(N("***"), Codes({19}) + "*");
    EXPECT_EQ(N("*.."), Codes({18}) + ".");
    EXPECT_EQ(N("...."), Codes({13}) + ".");
    EXPECT_EQ(N("--+"), "-" + Codes({9}));
    EXPECT_EQ(N("+-+"), Codes({8}) + "+");
    EXPECT_EQ(N("=="), Codes({10}));
    EXPECT_EQ(N("==="), Codes({10}) + "=");
}

TEST(Normalize, ThreeCharacterFormsNeedTwoFollowers) {
    EXPECT_EQ(N(".."), "..");
    EXPECT_EQ(N("..."), Codes({13}));
    EXPECT_EQ(N(" &"), " &");
    EXPECT_EQ(N(" & "), "&");
    EXPECT_EQ(N("x &"), "x &");
    EXPECT_EQ(N("!"), "!");
    EXPECT_EQ(N("-"), "-");
}

TEST(Normalize, IsBlindToQuotes) {
    EXPECT_EQ(N("String(\"a<=b\")"), "String(\"a" + Codes({3}) + "b\")");
    EXPECT_EQ(N("\"x & y\""), "\"x&y\"");
}

TEST(Normalize, OriginMapsBackToTheTypedText) {
    std::vector<int32_t> origin;
    const std::string n = Normalize("a<=b & c...", &origin);
    ASSERT_EQ(n, "a" + Codes({3}) + "b&c" + Codes({13}));
    EXPECT_EQ(origin, (std::vector<int32_t>{0, 1, 3, 4, 7, 8, 11}));
    Normalize("", &origin);
    EXPECT_EQ(origin, std::vector<int32_t>{0});
}

TEST(Normalize, CharactersAboveAsciiAreCopied) {
    const std::string cyr = "\xC0\xE1\xE2\xA8\xB8"; // Абв Ё ё in Windows-1251
    EXPECT_EQ(N(cyr + "<=" + cyr), cyr + Codes({3}) + cyr);
}
