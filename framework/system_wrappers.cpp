#include "framework/system_wrappers.h"

#include <QApplication>
#include <QWidget>

#include "framework/form_runtime.h"
#include "framework/globals.h"
#include "platform/seams.h"

namespace {

constexpr std::size_t kMaxPictureResult = 259;

// Cuts `s` to at most `max` bytes, never inside a UTF-8 character.
std::string CutUtf8(std::string s, std::size_t max) {
  if (s.size() <= max) return s;
  std::size_t n = max;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.resize(n);
  return s;
}

std::string Pad2(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// Walks a picture: `field(letter, count)` appends the text of a run of one pattern letter; quoted text and other
// characters are copied.
template <class Field>
std::string WalkPicture(const std::string& picture, const std::string& letters, Field field) {
  std::string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    char c = picture[i];
    if (c == '\'') {
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += picture[i++];
      }
      continue;
    }
    if (letters.find(c) != std::string::npos) {
      std::size_t j = i;
      while (j < picture.size() && picture[j] == c) ++j;
      out += field(c, int(j - i));
      i = j;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace

Hwnd MsgBoxOwner() {
  if (QWidget* w = QApplication::activeWindow(); w && w->isVisible()) return WinHandle(w);
  if (Hwnd modal = FrmModalForm()) return modal;
  if (IsWindow(gActiveForm)) return gActiveForm;
  return 0;
}

int MsgBox(Hwnd owner, const std::string& text, const std::string& caption, int style) {
  if (!IsWindow(owner)) owner = MsgBoxOwner();   // a window gone (or none named): the one the operator works in
  QWidget* window = nullptr;
  if (QWidget* w = WinWidget(owner)) window = w->window();
  return platform::seams().messageBoxes().Show(text, caption, style, window);
}

int MsgBox(const std::string& text, const std::string& caption, int style) {
  return MsgBox(MsgBoxOwner(), text, caption, style);
}

std::string ClipGetText() {
  std::optional<std::string> got = platform::seams().clipboard().GetText();
  if (!got) return std::string();
  const std::string& in = *got;
  // Only a text without any carriage return has its line feeds read as line ends: where rows end with CR LF, a line
  // feed alone belongs to a cell (a line break inside a spreadsheet cell).
  if (in.find('\r') != std::string::npos) return in;
  std::string out;
  out.reserve(in.size() + in.size() / 16);
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\n') out += '\r';
    out += in[i];
  }
  return out;
}

int ClipSetText(const std::string& text) {
  if (text.empty()) return 0;
  return platform::seams().clipboard().SetText(text) ? 1 : 0;
}

std::string FormatDatePicture(const QDate& date, const std::string& picture, const QLocale& locale) {
  if (picture.empty()) return locale.toString(date, QLocale::ShortFormat).toStdString();
  return WalkPicture(picture, "dMy", [&](char c, int n) -> std::string {
    switch (c) {
      case 'd':
        if (n == 1) return std::to_string(date.day());
        if (n == 2) return Pad2(date.day());
        return locale.dayName(date.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat).toStdString();
      case 'M':
        if (n == 1) return std::to_string(date.month());
        if (n == 2) return Pad2(date.month());
        return locale.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat).toStdString();
      default: {  // 'y'
        int y = date.year();
        if (n == 1) return std::to_string(y % 100);
        if (n == 2) return Pad2(y % 100);
        return std::to_string(y);
      }
    }
  });
}

std::string FormatTimePicture(const QTime& time, const std::string& picture, const QLocale& locale) {
  if (picture.empty()) return locale.toString(time, QLocale::ShortFormat).toStdString();
  return WalkPicture(picture, "hHmst", [&](char c, int n) -> std::string {
    switch (c) {
      case 'h': {
        int h = time.hour() % 12;
        if (h == 0) h = 12;
        return n == 1 ? std::to_string(h) : Pad2(h);
      }
      case 'H': return n == 1 ? std::to_string(time.hour()) : Pad2(time.hour());
      case 'm': return n == 1 ? std::to_string(time.minute()) : Pad2(time.minute());
      case 's': return n == 1 ? std::to_string(time.second()) : Pad2(time.second());
      default: {  // 't'
        std::string d = (time.hour() < 12 ? locale.amText() : locale.pmText()).toStdString();
        if (n == 1 && !d.empty()) {
          std::size_t len = 1;
          while (len < d.size() && (static_cast<unsigned char>(d[len]) & 0xC0) == 0x80) ++len;
          d.resize(len);
        }
        return d;
      }
    }
  });
}

std::string FmtDateNow(const std::string& picture) {
  return CutUtf8(FormatDatePicture(platform::Now().date(), picture, QLocale()), kMaxPictureResult);
}

std::string FmtTimeNow(const std::string& picture) {
  return CutUtf8(FormatTimePicture(platform::Now().time(), picture, QLocale()), kMaxPictureResult);
}
