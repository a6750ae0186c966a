// The 30 built-in task variants: ten monthly counts of two populations each. Compiled in and
// read-only; the input window copies a row into its grids.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Field 0: the variant number (1 .. 30); fields 1 .. 10: population 1, months 1 .. 10;
// fields 11 .. 20: population 2, months 1 .. 10.
using VariantRecord = std::array<int32_t, 21>;

constexpr int VariantCount = 30;

extern const std::array<VariantRecord, VariantCount> VariantTable;

// The count of a population (1 or 2) in a month (1 .. 10) of the variant at row (0 .. 29).
inline int32_t VariantCountOf(int row, int population, int month) {
    return VariantTable[static_cast<std::size_t>(row)]
                       [static_cast<std::size_t>((population - 1) * 10 + month)];
}

// The value of a count text (UTF-16, as a grid cell holds it): an optional sign and decimal
// digits within the signed 32-bit range. False for anything else (empty, other characters, out
// of range); value is then 0.
bool CountFromText(std::u16string_view text, int32_t &value);
