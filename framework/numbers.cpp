#include "framework/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

double Val(std::string_view text) {
  std::size_t i = 0, n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' || text[i] == '\v' ||
                   text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string number;
  bool point = false, digit = false;
  for (; i < n; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      number += c;
      digit = true;
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digit) return 0.0;
  if (number.front() == '.') number.insert(number.begin(), '0');
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  if (value == 0.0) return 0.0;   // never -0
  return negative ? -value : value;
}

long long RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = 9223372036854775807.0;   // rounds to 2^63
  if (value >= kMax) return std::numeric_limits<long long>::max();
  if (value <= -kMax) return std::numeric_limits<long long>::min();
  double floor = std::floor(value);
  double diff = value - floor;
  double result;
  if (diff > 0.5) {
    result = floor + 1.0;
  } else if (diff < 0.5) {
    result = floor;
  } else {
    result = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
  }
  return static_cast<long long>(result);
}
