// System services of the substrate: interface ids, the thread's last error, UTF-8 / wide text conversion, calendar
// times, system message texts and the error message box.
#include <dlfcn.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "com/com.h"

namespace com {

bool operator==(const GUID& a, const GUID& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

// Interface ids of this substrate (its own values).
const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_IUnknown = {0x069bc8e7, 0x9a95, 0x4947, {0x92, 0xec, 0x90, 0x24, 0xc1, 0xe9, 0x9b, 0x1f}};
const IID IID_IDispatch = {0x0ba8c085, 0x7d25, 0x41cb, {0xa8, 0x64, 0x24, 0xb2, 0x52, 0x45, 0x2c, 0x00}};
const IID IID_IClassFactory = {0xe00d0d9b, 0xbca7, 0x486a, {0x88, 0x47, 0xf7, 0x82, 0xd9, 0x94, 0x86, 0x2c}};
const IID IID_IEnumVARIANT = {0x5aea57e3, 0xee8e, 0x4396, {0x90, 0x7e, 0x89, 0x73, 0xd6, 0x6f, 0xf8, 0x9b}};
const IID IID_IPersistFile = {0xb5c09815, 0x5275, 0x4b66, {0x9a, 0x11, 0x6c, 0x91, 0x48, 0xaf, 0x42, 0xd3}};

// ---- last error ---------------------------------------------------------------------------------------------------

namespace {
thread_local DWORD tLastError = 0;
}  // namespace

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD error) { tLastError = error; }

// ---- text conversion ----------------------------------------------------------------------------------------------

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes UTF-8; every byte that does not start a valid sequence gives one U+FFFD. Returns false when any did.
bool DecodeUtf8(const char* text, std::size_t bytes, std::u16string* out) {
  bool clean = true;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  std::size_t k = 0;
  while (k < bytes) {
    unsigned char c = s[k];
    char32_t cp = 0;
    std::size_t len = 0;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F;
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F;
      len = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      len = 4;
    }
    bool ok = len > 0 && k + len <= bytes;
    for (std::size_t j = 1; ok && j < len; ++j) {
      if ((s[k + j] & 0xC0) != 0x80)
        ok = false;
      else
        cp = (cp << 6) | (s[k + j] & 0x3F);
    }
    if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
      ok = false;
    if (!ok) {
      clean = false;
      out->push_back(static_cast<char16_t>(kReplacement));
      ++k;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(cp));
    }
    k += len;
  }
  return clean;
}

void PutUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Encodes UTF-16 as UTF-8; a lone surrogate gives U+FFFD. Returns false when any did.
bool EncodeUtf8(const char16_t* wide, std::size_t chars, std::string* out) {
  bool clean = true;
  for (std::size_t k = 0; k < chars; ++k) {
    char32_t c = wide[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < chars && wide[k + 1] >= 0xDC00 && wide[k + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[k + 1] - 0xDC00);
      ++k;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
      clean = false;
    }
    PutUtf8(c, out);
  }
  return clean;
}

bool KnownCodePage(UINT codePage) { return codePage == CP_ACP || codePage == CP_UTF8; }

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int bytes, LPOLESTR wide, int wideSize) {
  if (!KnownCodePage(codePage) || !text || bytes == 0 || bytes < -1 || wideSize < 0 || (wideSize > 0 && !wide) ||
      (flags & ~MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = bytes == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(bytes);
  std::u16string out;
  out.reserve(length);
  if (!DecodeUtf8(text, length, &out) && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (wideSize == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<std::size_t>(wideSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(wide, out.data(), out.size() * sizeof(OLECHAR));
  return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCOLESTR wide, int chars, char* text, int textSize,
                        const char* defaultChar, BOOL* usedDefault) {
  if (!KnownCodePage(codePage) || !wide || chars == 0 || chars < -1 || textSize < 0 || (textSize > 0 && !text) ||
      (flags & ~WC_ERR_INVALID_CHARS) || (codePage == CP_UTF8 && (defaultChar || usedDefault))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = chars == -1 ? WideLength(wide) + 1 : static_cast<std::size_t>(chars);
  std::string out;
  out.reserve(length * 3);
  const bool clean = EncodeUtf8(wide, length, &out);
  if (!clean && (flags & WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (usedDefault) *usedDefault = clean ? 0 : 1;
  if (textSize == 0) return static_cast<int>(out.size());
  if (out.size() > static_cast<std::size_t>(textSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(text, out.data(), out.size());
  return static_cast<int>(out.size());
}

std::u16string Widen(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  DecodeUtf8(text.data(), text.size(), &out);
  return out;
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  EncodeUtf8(text.data(), text.size(), &out);
  return out;
}

std::size_t WideLength(LPCOLESTR text) {
  if (!text) return 0;
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

// ---- calendar time ------------------------------------------------------------------------------------------------

namespace {

constexpr std::uint64_t kTicksPerDay = 864000000000ull;
constexpr std::int64_t kDays1601To1970 = 134774;

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

bool LeapYear(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
  if (!fileTime || !systemTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::uint64_t ticks = FileTimeValue(*fileTime);
  if (ticks >= 0x8000000000000000ull) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::int64_t days = static_cast<std::int64_t>(ticks / kTicksPerDay);
  std::uint64_t rest = ticks % kTicksPerDay;
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days - kDays1601To1970, &y, &m, &d);
  systemTime->year = static_cast<WORD>(y);
  systemTime->month = static_cast<WORD>(m);
  systemTime->day = static_cast<WORD>(d);
  systemTime->dayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1 January 1601 was a Monday
  systemTime->hour = static_cast<WORD>(rest / 36000000000ull);
  rest %= 36000000000ull;
  systemTime->minute = static_cast<WORD>(rest / 600000000ull);
  rest %= 600000000ull;
  systemTime->second = static_cast<WORD>(rest / 10000000ull);
  rest %= 10000000ull;
  systemTime->milliseconds = static_cast<WORD>(rest / 10000ull);
  return 1;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* fileTime) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!st || !fileTime || st->year < 1601 || st->year > 30827 || st->month < 1 || st->month > 12 || st->day < 1 ||
      st->day > kDays[st->month - 1] + ((st->month == 2 && LeapYear(st->year)) ? 1 : 0) || st->hour > 23 ||
      st->minute > 59 || st->second > 59 || st->milliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::int64_t days = DaysFromCivil(st->year, st->month, st->day) + kDays1601To1970;
  const std::uint64_t ticks = static_cast<std::uint64_t>(days) * kTicksPerDay +
                              (st->hour * 3600ull + st->minute * 60ull + st->second) * 10000000ull +
                              st->milliseconds * 10000ull;
  *fileTime = MakeFileTime(ticks);
  return 1;
}

// ---- system messages ----------------------------------------------------------------------------------------------

namespace {

struct Message {
  std::uint32_t code;
  const char* text;
};

const Message kMessages[] = {
    {0, "The operation completed successfully.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {8, "Not enough memory resources are available to process this command.\r\n"},
    {14, "Not enough memory resources are available to complete this operation.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1722, "The RPC server is unavailable.\r\n"},
    {0x80004001u, "Not implemented\r\n"},
    {0x80004002u, "No such interface supported\r\n"},
    {0x80004003u, "Invalid pointer\r\n"},
    {0x80004004u, "Operation aborted\r\n"},
    {0x80004005u, "Unspecified error\r\n"},
    {0x8000FFFFu, "Catastrophic failure\r\n"},
    {0x80020001u, "Unknown interface.\r\n"},
    {0x80020003u, "Member not found.\r\n"},
    {0x80020004u, "Parameter not found.\r\n"},
    {0x80020005u, "Type mismatch.\r\n"},
    {0x80020006u, "Unknown name.\r\n"},
    {0x80020007u, "No named arguments.\r\n"},
    {0x80020008u, "Bad variable type.\r\n"},
    {0x80020009u, "Exception occurred.\r\n"},
    {0x8002000Au, "Out of present range.\r\n"},
    {0x8002000Bu, "Invalid index.\r\n"},
    {0x8002000Eu, "Invalid number of parameters.\r\n"},
    {0x8002000Fu, "Parameter not optional.\r\n"},
    {0x80040110u, "Class does not support aggregation (or class object is remote)\r\n"},
    {0x80040154u, "Class not registered\r\n"},
    {0x800401E3u, "Operation unavailable\r\n"},
    {0x800401E4u, "Invalid syntax\r\n"},
    {0x800401E6u, "Bad extension for file\r\n"},
    {0x800401EAu, "Moniker cannot open file\r\n"},
    {0x800401F0u, "CoInitialize has not been called.\r\n"},
    {0x800401F3u, "Invalid class string\r\n"},
};

const char* MessageText(std::uint32_t code) {
  for (const Message& m : kMessages)
    if (m.code == code) return m.text;
  if ((code & 0xFFFF0000u) == 0x80070000u) {
    for (const Message& m : kMessages)
      if (m.code == (code & 0xFFFFu)) return m.text;
  }
  return nullptr;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                     void* arguments) {
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char* text = MessageText(messageId);
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  const std::size_t length = std::strlen(text);
  if (length + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text, length + 1);
  return static_cast<DWORD>(length);
}

// ---- message box --------------------------------------------------------------------------------------------------

namespace {

int ShowBox(std::intptr_t owner, const std::u16string& text, const std::u16string& caption, UINT style) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    const QMessageBox::Icon icon =
        (style & 0xF0) == MB_ICONINFORMATION ? QMessageBox::Information : QMessageBox::Critical;
    // The box belongs to the window the operator works in (the program's active window, else its modal one), stands
    // in front of it (on top, when that window stays on top) and goes with it should that window be closed meanwhile.
    QWidget* parent = QApplication::activeWindow();
    if (!parent || !parent->isVisible()) parent = QApplication::activeModalWidget();
    QPointer<QMessageBox> box = new QMessageBox(icon, QString::fromStdU16String(caption),
                                                QString::fromStdU16String(text), QMessageBox::Ok, parent);
    box->setWindowModality(Qt::ApplicationModal);
    box->setEnabled(true);
    if (parent && (parent->windowFlags() & Qt::WindowStaysOnTopHint))
      box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box->exec();
    delete box.data();
  } else {
    std::fprintf(stderr, "%s: %s\n", Narrow(caption).c_str(), Narrow(text).c_str());
  }
  return 1;
}

std::mutex gBoxMutex;
MessageBoxHandler gBoxHandler = nullptr;

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> lock(gBoxMutex);
  MessageBoxHandler before = gBoxHandler;
  gBoxHandler = handler;
  return before;
}

int MessageBoxW(std::intptr_t owner, LPCOLESTR text, LPCOLESTR caption, UINT style) {
  MessageBoxHandler handler = nullptr;
  {
    std::lock_guard<std::mutex> lock(gBoxMutex);
    handler = gBoxHandler;
  }
  std::u16string t = text ? std::u16string(text) : std::u16string();
  std::u16string c = caption ? std::u16string(caption) : std::u16string(u"Error");
  return handler ? handler(owner, t, c, style) : ShowBox(owner, t, c, style);
}

bool IsCodeAddress(const void* address) {
  if (!address) return false;
  Dl_info info{};
  return dladdr(address, &info) != 0 && info.dli_fname != nullptr;
}

}  // namespace com
