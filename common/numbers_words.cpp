#include "common/numbers_words.h"

namespace {

const char* const kUnitWords[12] = {"",      "satu",  "dua",     "tiga",     "empat",   "lima",
                                    "enam",  "tujuh", "delapan", "sembilan", "sepuluh", "sebelas"};

std::string Words(std::int32_t n) {
  if (n < 12) return std::string(" ") + kUnitWords[n];
  if (n < 20) return Words(n - 10) + " belas";
  if (n < 100) return Words(n / 10) + " puluh" + Words(n % 10);
  if (n < 200) return " seratus" + Words(n - 100);
  if (n < 1000) return Words(n / 100) + " ratus" + Words(n % 100);
  if (n < 2000) return " seribu" + Words(n - 1000);
  if (n < 1000000) return Words(n / 1000) + " ribu" + Words(n % 1000);
  if (n < 1000000000) return Words(n / 1000000) + " juta" + Words(n % 1000000);
  return "";
}

}  // namespace

std::string FinSpellNumber(std::int32_t amount) {
  if (amount < 0) return "";
  return Words(amount);
}

void FinFormatThousandsTo(std::string_view digits, std::string_view separator, std::string& out) {
  std::string_view body = digits;
  if (!body.empty() && body[0] == '-') {
    out += '-';
    body.remove_prefix(1);
  }
  const std::size_t len = body.size();
  std::size_t groups = len < 4 ? 0 : (len - 1) / 3;  // separators wanted
  if (groups > 4) groups = 4;
  const std::size_t lead = len - groups * 3;
  out.append(body.substr(0, lead));
  for (std::size_t g = 0; g < groups; ++g) {
    out.append(separator);
    out.append(body.substr(lead + g * 3, 3));
  }
}

std::string FinFormatThousands(const std::string& digits, const std::string& separator) {
  std::string out;
  out.reserve(digits.size() + 4 * separator.size());
  FinFormatThousandsTo(digits, separator, out);
  return out;
}

std::string FinPadLeft10(const std::string& text) {
  if (text.size() >= 10) return text;
  return std::string(10 - text.size(), ' ') + text;
}
