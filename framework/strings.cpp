#include "framework/strings.h"

#include <climits>
#include <cstring>

#include "framework/system_wrappers.h"
#include "framework/win.h"

int StrSplit(const std::string& source, const std::string& delimiter, std::vector<std::string>& fields) {
  const std::size_t L = source.size(), D = delimiter.size();
  fields.clear();
  if (L == 0 || D > L) {
    fields.push_back("0");
    return 0;
  }
  if (D == 0) {
    fields = {"1", source};
    return 1;
  }
  // The text scanned ends at the first NUL byte.
  const std::size_t end = std::min(L, std::strlen(source.c_str()));
  const std::string text = source.substr(0, end);
  std::vector<std::size_t> starts;
  for (std::size_t p = text.find(delimiter); p != std::string::npos; p = text.find(delimiter, p + D))
    starts.push_back(p);
  if (starts.empty()) {
    fields = {"1", source};
    return 1;
  }
  const bool trailing = starts.back() + D == L;
  const int n = int(starts.size()) + (trailing ? 0 : 1);
  fields.reserve(std::size_t(n) + 1);
  fields.push_back(std::to_string(n));
  std::size_t from = 0;
  for (std::size_t p : starts) {
    fields.push_back(text.substr(from, p - from));
    from = p + D;
  }
  if (!trailing) fields.push_back(text.substr(std::min(from, text.size())));
  return n;
}

std::string StrParse(const std::string& source, const std::string& delimiter, int n) {
  const std::size_t D = delimiter.size();
  if (D == 0 || n == 0) return source;
  if (n > 0) {
    std::size_t start = 0;
    int count = 0;
    for (;;) {
      std::size_t p = source.find(delimiter, start);
      if (p == std::string::npos) return count == n - 1 ? source.substr(start) : source;
      if (++count == n) return source.substr(start, p - start);
      start = p + D;
    }
  }
  const long long k = -static_cast<long long>(n);
  std::size_t found = std::string::npos;
  std::size_t from = std::string::npos;
  for (long long i = 0; i < k; ++i) {
    std::size_t p = source.rfind(delimiter, from);
    if (p == std::string::npos) {
      found = std::string::npos;
      break;
    }
    found = p;
    if (p == 0) {
      if (i + 1 < k) found = std::string::npos;
      break;
    }
    from = p - 1;
  }
  std::size_t start = found == std::string::npos ? 0 : found + D;
  std::size_t next = source.find(delimiter, start);
  return next == std::string::npos ? source.substr(start) : source.substr(start, next - start);
}

std::string StrReplace(const std::string& source, const std::string& find, const std::string& replacement) {
  if (find.empty()) return source;
  std::string out;
  out.reserve(source.size());
  std::size_t from = 0;
  for (std::size_t p = source.find(find); p != std::string::npos; p = source.find(find, from)) {
    out.append(source, from, p - from);
    out += replacement;
    from = p + find.size();
  }
  out.append(source, from, std::string::npos);
  return out;
}

std::string StrReplaceFast(const std::string& source, const std::string& find, const std::string& replacement) {
  if (source.empty() || find.empty()) return source;
  if (source.find('\0') != std::string::npos) {
    MsgBox("le string contient un caractère nul", "Erreur", MB_OK);
    return "Erreur";
  }
  const bool remove = replacement.empty();
  std::string out = StrReplace(source, find, remove ? std::string(1, '\xBF') : replacement);
  if (remove) std::erase(out, '\xBF');
  return out;
}

std::string StrAfterFirst(const std::string& source, const std::string& separator) {
  if (separator.empty()) return std::string();
  std::size_t p = source.find(separator);
  return p == std::string::npos ? std::string() : source.substr(p + 1);
}

std::string StrReplaceAnyChar(const std::string& source, const std::string& chars, const std::string& replacementChar) {
  if (replacementChar.size() != 1 || source.empty() || chars.empty()) return source;
  std::string out = source;
  for (char& c : out)
    if (chars.find(c) != std::string::npos) c = replacementChar[0];
  return out;
}

std::u16string StrToBstr(const std::string& text) {
  std::u16string out((text.size() + 1) / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t byte = static_cast<unsigned char>(text[i]);
    out[i / 2] = char16_t(out[i / 2] | (i % 2 ? char16_t(byte << 8) : byte));
  }
  return out;
}

// ----- fixed-pitch columns of UTF-8 texts ---------------------------------------------------------------------------

namespace {

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

std::string Blanks(long long n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

}  // namespace

long long Utf8Length(const std::string& s) {
  long long n = 0;
  for (char c : s)
    if (StartsCharacter(c)) ++n;
  return n;
}

std::size_t Utf8ByteOffset(const std::string& s, long long k) {
  long long seen = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!StartsCharacter(s[i])) continue;
    if (seen == k) return i;
    ++seen;
  }
  return s.size();
}

std::string Utf8Left(const std::string& s, long long n) {
  return n <= 0 ? std::string() : s.substr(0, Utf8ByteOffset(s, n));
}

std::string Utf8Right(const std::string& s, long long n) {
  const long long len = Utf8Length(s);
  if (n >= len) return s;
  if (n <= 0) return std::string();
  return s.substr(Utf8ByteOffset(s, len - n));
}

std::string Utf8Mid(const std::string& s, long long from, long long count) {
  if (from < 0) from = 0;
  const std::size_t a = Utf8ByteOffset(s, from);
  if (count < 0) return s.substr(a);
  const std::size_t b = count > LLONG_MAX - from ? s.size() : Utf8ByteOffset(s, from + count);
  return s.substr(a, b - a);
}

std::string Utf8PadRight(const std::string& s, long long width) { return s + Blanks(width - Utf8Length(s)); }

std::string Utf8PadLeft(const std::string& s, long long width) { return Blanks(width - Utf8Length(s)) + s; }
