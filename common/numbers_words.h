// Money as text: Indonesian words ("terbilang"), thousands separators and the ten-character amount column.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The amount in Indonesian words, every word with one blank in front of it and no currency word (callers add
// " rupiah"). Covers 0 to 999,999,999: 0 gives a single blank, 12 gives " dua belas", 20 gives " dua puluh " (a zero
// part keeps its blank). 1,000,000,000 and above, and any negative amount, give the empty text.
std::string FinSpellNumber(std::int32_t amount);

// The text with `separator` put between groups of three characters counted from the right: one separator for 4 to 6
// characters, two for 7 to 9, three for 10 to 12, four for 13 or more (the leading group keeps the rest). A leading
// "-" is set aside first and put back in front, so "-750000" gives "-750.000".
std::string FinFormatThousands(const std::string& digits, const std::string& separator);
// The same, added to the end of `out`.
void FinFormatThousandsTo(std::string_view digits, std::string_view separator, std::string& out);

// Blanks in front of the text up to 10 characters; a text of 10 or more characters comes back unchanged.
std::string FinPadLeft10(const std::string& text);
