// Reading numbers from texts and rounding them, the one way the whole system does it.
#pragma once
#include <string>
#include <string_view>

// The leading number of a text, as BASIC's VAL reads it: leading blanks (spaces, tabs, line ends) skipped, an
// optional sign, digits with at most one decimal point; whatever follows is ignored. 0 when the text does not
// begin with a number. "12abc" -> 12, "  -3.5x" -> -3.5, ".5" -> 0.5, "abc" -> 0, "1.2.3" -> 1.2.
double Val(std::string_view text);

// The nearest whole number, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2, 0.5 -> 0.
// Values beyond the range of long long are clamped to it; NaN gives 0.
long long RoundHalfEven(double value);
