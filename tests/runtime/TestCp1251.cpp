#include "runtime/Cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, DecodesAsciiCyrillicAndTheIrregularUpperHalf) {
    EXPECT_EQ(Cp1251ToUnicode('A'), u'A');
    EXPECT_EQ(Cp1251ToUnicode(0x00), u'\0');
    EXPECT_EQ(Cp1251ToUnicode(0x7F), u'\x7F');
    EXPECT_EQ(Cp1251ToUnicode(0xC0), u'А');
    EXPECT_EQ(Cp1251ToUnicode(0xDF), u'Я');
    EXPECT_EQ(Cp1251ToUnicode(0xE0), u'а');
    EXPECT_EQ(Cp1251ToUnicode(0xFF), u'я');
    EXPECT_EQ(Cp1251ToUnicode(0xA8), u'Ё');
    EXPECT_EQ(Cp1251ToUnicode(0xB8), u'ё');
    EXPECT_EQ(Cp1251ToUnicode(0xB7), u'·');
    EXPECT_EQ(Cp1251ToUnicode(0xB9), u'№');
    EXPECT_EQ(Cp1251ToUnicode(0x85), u'…');
    EXPECT_EQ(Cp1251ToUnicode(0x96), u'–');
    EXPECT_EQ(Cp1251ToUnicode(0x88), u'€');
    EXPECT_EQ(Cp1251ToUnicode(0xA0), u'\u00A0');
    EXPECT_EQ(Cp1251ToUnicode(0x98), u'\uFFFD');
}

TEST(Cp1251, EveryAssignedByteRoundTripsAndNoTwoBytesShareACharacter) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        unsigned char back = 0;
        ASSERT_TRUE(UnicodeToCp1251(Cp1251ToUnicode(static_cast<unsigned char>(b)), back)) << b;
        EXPECT_EQ(back, b);
    }
    unsigned char c = 0;
    EXPECT_FALSE(UnicodeToCp1251(0xFFFD, c));
    EXPECT_FALSE(UnicodeToCp1251(U'α', c));
    EXPECT_FALSE(UnicodeToCp1251(U'\x80', c)); // a C1 control is not byte 0x80
    EXPECT_FALSE(UnicodeToCp1251(0x1F600, c));
}

TEST(Cp1251, Utf8BothWays) {
    const std::string cp = "\xCE\xF8\xE8\xE1\xEA\xE0 \xE2\xE2\xEE\xE4\xE0"; // Ошибка ввода
    EXPECT_EQ(Cp1251ToUtf8(cp), "Ошибка ввода");
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251("Ошибка ввода", back));
    EXPECT_EQ(back, cp);
    ASSERT_TRUE(Utf8ToCp1251("x·10 № …", back));
    EXPECT_EQ(back, "x\xB7"
                    "10 \xB9 \x85");
    EXPECT_EQ(Cp1251ToUtf16(cp), u"Ошибка ввода");
    ASSERT_TRUE(Utf16ToCp1251(u"Ёё", back));
    EXPECT_EQ(back, "\xA8\xB8");
}

TEST(Cp1251, StrictConversionsReportTheOffendingSequence) {
    std::string out;
    std::size_t bad = 99;
    struct Case {
        std::string text;
        std::size_t index;
    };
    const Case cases[] = {
        {"ab\xCE\xB1", 2},        // α: valid UTF-8, not in the code page
        {"\xC0\x80", 0},          // overlong NUL
        {"x\xE0\x80\xAF", 1},     // overlong '/'
        {"\xED\xA0\x80", 0},      // surrogate
        {"\xF4\x90\x80\x80", 0},  // beyond U+10FFFF
        {"ok\xD0", 2},            // truncated
        {"\x80", 0},              // lone continuation byte
        {"\xD0\x41", 0},          // continuation missing
        {"\xFF", 0},              // never valid
        {"я\xF0\x9F\x98\x80", 2}, // a character outside the basic plane
    };
    for (const Case &c : cases) {
        bad = 99;
        EXPECT_FALSE(Utf8ToCp1251(c.text, out, &bad)) << c.text;
        EXPECT_EQ(bad, c.index) << c.text;
    }
    EXPECT_FALSE(Utf8ToCp1251("\xC0\x80", out)); // badIndex is optional

    EXPECT_FALSE(Utf16ToCp1251(u"a\xD83D\xDE00", out, &bad));
    EXPECT_EQ(bad, 1u);
    EXPECT_FALSE(Utf16ToCp1251(std::u16string(1, char16_t(0xDC00)), out, &bad));
    EXPECT_EQ(bad, 0u);
    EXPECT_FALSE(Utf16ToCp1251(u"ab\uFFFD", out, &bad));
    EXPECT_EQ(bad, 2u);
}
