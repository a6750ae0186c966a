// Windows-1251 <-> Unicode. Formula text and node texts are Windows-1251 byte strings;
// these conversions are used only at the edges (painting, tools, tests, widgets).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The Unicode character of one Windows-1251 byte. The one unassigned byte, 0x98, gives 0xFFFD.
char16_t Cp1251ToUnicode(unsigned char c);

// The Windows-1251 byte of a Unicode character; false when the code page has none.
bool UnicodeToCp1251(char32_t u, unsigned char &c);

// Appends the UTF-8 bytes of one Unicode character (below U+110000).
void AppendUtf8(std::string &out, char32_t u);

std::u16string Cp1251ToUtf16(std::string_view s);
std::string Cp1251ToUtf8(std::string_view s);

// Strict conversions: false (and out unspecified) on invalid UTF-8 or a character outside
// Windows-1251; badIndex, when given, receives the 0-based byte index of the offending sequence.
bool Utf8ToCp1251(std::string_view utf8, std::string &out, std::size_t *badIndex = nullptr);
// A UTF-8 literal of the program in Windows-1251 (every text the program writes is representable;
// a character that is not becomes "?").
std::string Win1251(std::string_view utf8);
bool Utf16ToCp1251(std::u16string_view s, std::string &out, std::size_t *badIndex = nullptr);
