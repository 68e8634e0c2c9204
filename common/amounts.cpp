#include "common/amounts.h"

#include <cctype>
#include <regex>

#include "framework/controls.h"

bool FinReadAmount(const std::string& text, long long& amount) {
  amount = 0;
  // No amount is longer than this, separators, "Rp" and blanks included: a longer text (a whole pasted column, tens of
  // thousands of digits) is refused before any pattern sees it.
  if (text.size() > kFinMaxAmountText) return false;
  std::string s;
  for (char c : text) {
    if (c == ' ') continue;   // blanks inside an amount are spaces only
    if (std::isspace(static_cast<unsigned char>(c))) return false;   // a TAB or a line break ends the amount
    s += c;
  }
  if (s.size() >= 2 && (s[0] == 'R' || s[0] == 'r') && (s[1] == 'P' || s[1] == 'p')) {
    s.erase(0, 2);
    if (!s.empty() && s[0] == '.') s.erase(0, 1);
  }
  bool negative = false;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    s.erase(0, 1);
  }
  static const std::regex kPlain(R"(^(\d+)(?:[.,]0+)?$)");
  static const std::regex kDots(R"(^(\d{1,3}(?:\.\d{3})+)(?:,0+)?$)");
  static const std::regex kCommas(R"(^(\d{1,3}(?:,\d{3})+)(?:\.0+)?$)");
  std::smatch m;
  std::string digits;
  if (std::regex_match(s, m, kDots) || std::regex_match(s, m, kCommas) || std::regex_match(s, m, kPlain)) {
    for (char c : m[1].str())
      if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  } else {
    return false;
  }
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return true;   // zero, in whatever form
  if (digits.size() - first > static_cast<std::size_t>(kFinMaxAmountDigits)) return false;
  long long value = std::stoll(digits.substr(first));
  amount = negative ? -value : value;
  return true;
}

void FinLimitAmountEdit(Hwnd edit) { TxtLimitDigits(edit, kFinMaxAmountDigits); }

long long FinPositiveAmount(const std::string& text) {
  long long amount = 0;
  return FinReadAmount(text, amount) && amount > 0 ? amount : 0;
}
