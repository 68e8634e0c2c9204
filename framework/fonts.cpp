#include "framework/fonts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "framework/numbers.h"
#include "framework/strings.h"

namespace {
struct FontTable {
  std::unordered_map<std::intptr_t, QFont> fonts;
  std::intptr_t next = 1;
};
FontTable& table() {
  static FontTable t;
  return t;
}

int IntField(const std::string& fontText, int n) {
  long long v = RoundHalfEven(Val(StrParse(fontText, ",", n)));
  return int(std::clamp<long long>(v, -2147483647LL - 1, 2147483647LL));
}

// At most `max` bytes, never cut inside a UTF-8 character.
std::string CutUtf8(const std::string& s, std::size_t max) {
  if (s.size() <= max) return s;
  std::size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}
}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long product = static_cast<long long>(number) * numerator;
  long long d = denominator;
  bool negative = (product < 0) != (d < 0);
  long long a = std::llabs(product), b = std::llabs(d);
  long long q = (a + b / 2) / b;
  long long r = negative ? -q : q;
  if (r > 2147483647LL || r < -2147483648LL) return -1;
  return int(r);
}

namespace {
// The primary screen's logical dots per inch (96 where it tells none); 0 without a screen.
int ScreenDpiOrZero() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 0;
  int dpi = int(RoundHalfEven(screen->logicalDotsPerInchY()));
  return dpi > 0 ? dpi : 96;
}
}  // namespace

int FontScreenDpi() {
  const int dpi = ScreenDpiOrZero();
  return dpi ? dpi : 96;
}

int FontPixelsToPoints(int pixels) {
  // Without a screen there are no pixels per inch to convert with.
  const int dpi = ScreenDpiOrZero();
  return dpi ? std::abs(MulDiv(pixels, 72, dpi)) : 0;
}

int FontParseSpec(const std::string& fontText, std::string& face, int& points, int& weight, int& italic, int& underline,
                  int& strikeOut, int& style) {
  const auto commas = std::count(fontText.begin(), fontText.end(), ',');
  face = StrParse(fontText, ",", 1);
  if (commas < 11) {
    points = IntField(fontText, 2);
    style = IntField(fontText, 3);
    weight = (style & 1) ? 700 : 400;
    italic = (style & 2) ? 1 : 0;
    underline = (style & 4) ? 1 : 0;
    strikeOut = (style & 8) ? 1 : 0;
  } else {
    points = FontPixelsToPoints(IntField(fontText, 2));
    weight = IntField(fontText, 6);
    italic = IntField(fontText, 7);
    underline = IntField(fontText, 8);
    strikeOut = IntField(fontText, 9);
    style = (weight == 700 ? 1 : 0) | (italic != 0 ? 2 : 0) | (underline != 0 ? 4 : 0) | (strikeOut != 0 ? 8 : 0);
  }
  return 0;
}

namespace {
// The faces the forms name are those of the school's desktops; here their metric-compatible free faces stand in,
// so that texts keep the widths the layouts were designed for.
void EnsureFaceSubstitutes() {
  static bool done = false;
  if (done) return;
  done = true;
  const char* const kSans = "Liberation Sans";
  for (const char* face : {"Arial", "Arial Unicode MS", "MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Segoe UI"})
    QFont::insertSubstitutions(QString::fromLatin1(face), {QString::fromLatin1(kSans), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
}
}  // namespace

std::intptr_t FontCreate(const std::string& face, int points, int weight, int italic, int underline, int strikeOut) {
  if (face.empty()) return 0;
  EnsureFaceSubstitutes();
  // Logical pixels are square: q = points * dpiX / dpiY = points.
  const int height = -MulDiv(points, FontScreenDpi(), 72);
  QFont font(QString::fromStdString(CutUtf8(face, 31)));
  if (height != 0) font.setPixelSize(std::abs(height));
  font.setWeight(weight <= 0 ? QFont::Normal : QFont::Weight(std::clamp(weight, 1, 1000)));
  font.setItalic((italic & 0xFF) != 0);
  font.setUnderline((underline & 0xFF) != 0);
  font.setStrikeOut((strikeOut & 0xFF) != 0);
  font.setStyleStrategy(QFont::PreferOutline);
  auto& t = table();
  std::intptr_t handle = t.next++;
  t.fonts.emplace(handle, font);
  return handle;
}

std::intptr_t FontCreateFromSpec(const std::string& fontText) {
  std::string face;
  int points = 0, weight = 0, italic = 0, underline = 0, strikeOut = 0, style = 0;
  FontParseSpec(fontText, face, points, weight, italic, underline, strikeOut, style);
  return FontCreate(face, points, weight, italic, underline, strikeOut);
}

QFont FontFromHandle(std::intptr_t font) {
  auto& t = table();
  auto it = t.fonts.find(font);
  if (it != t.fonts.end()) return it->second;
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::font() : QFont();
}

bool FontExists(std::intptr_t font) { return table().fonts.count(font) != 0; }

bool FontDelete(std::intptr_t font) { return table().fonts.erase(font) != 0; }
