// The automation library's error record, its options, formatting and message box, the entry and exit steps of every
// operation, and the conversions of dates and texts that the type letters use.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "automation/automation.h"

using namespace com;

namespace {

std::mutex gOptionsMutex;
AutoErrorOptions gOptions{};  // zero at start

// Per thread: the nesting count of library operations and the error record.
thread_local int tNesting = 0;
thread_local AutoErrorRecord* tRecord = nullptr;

AutoErrorOptions Options() {
  std::lock_guard<std::mutex> lock(gOptionsMutex);
  return gOptions;
}

void FreeExceptionStrings(EXCEPINFO* exception) {
  SysFreeString(exception->source);
  SysFreeString(exception->description);
  SysFreeString(exception->helpFile);
  exception->source = exception->description = exception->helpFile = nullptr;
}

void FreeRecordStrings(AutoErrorRecord* record) {
  SysFreeString(record->description);
  SysFreeString(record->source);
  SysFreeString(record->helpFile);
  record->description = record->source = record->helpFile = nullptr;
}

constexpr std::uint64_t kUnitsPerDay = 864000000000ull;
constexpr std::int64_t kUnitsAt1899 = 94353120000000000ll;
constexpr std::uint64_t kFileTimeBound = 2650467744000000000ull;  // 1 January 10000
constexpr double kEarliestDate = -109205.0;                       // 1 January 1601
constexpr double kDate1970 = 25569.0;
constexpr double kLastTimeDate = 50424.1348;  // 19 January 2038, 03:14
constexpr double kSecondsPerDay = 86400.0;

}  // namespace

// ---- options and record -------------------------------------------------------------------------------------------

HRESULT AutoToggleErrors(int show) {
  std::lock_guard<std::mutex> lock(gOptionsMutex);
  gOptions.show = show;
  if (show) gOptions.noRecord = 0;
  return S_OK;
}

HRESULT AutoSetErrorOptions(const AutoErrorOptions* options) {
  if (!options) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(gOptionsMutex);
  gOptions = *options;
  return S_OK;
}

HRESULT AutoGetErrorOptions(AutoErrorOptions* options) {
  if (!options) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(gOptionsMutex);
  *options = gOptions;
  return S_OK;
}

HRESULT AutoGetErrorRecord(AutoErrorRecord** record) {
  if (!record) return E_INVALIDARG;
  *record = tRecord;
  return S_OK;
}

void AutoFreeThreadRecord() {
  if (!tRecord) return;
  FreeRecordStrings(tRecord);
  std::free(tRecord);
  tRecord = nullptr;
}

HRESULT AutoCopyWide(char16_t* dest, UINT size, const char16_t* source) {
  if (!dest || size == 0) return E_INVALIDARG;
  UINT n = 0;
  if (source) {
    while (n + 1 < size && source[n]) ++n;
    // A cut between the two halves of a surrogate pair drops the first half too.
    if (n > 0 && source[n] && source[n - 1] >= 0xD800 && source[n - 1] <= 0xDBFF) --n;
    std::memcpy(dest, source, n * sizeof(char16_t));
  }
  dest[n] = 0;
  return S_OK;
}

void AutoEnter() { ++tNesting; }

HRESULT AutoRecordError(HRESULT code, int fromInvoke, const char16_t* failingMember, const char16_t* memberPath,
                        EXCEPINFO* exception, UINT argErrorPosition, const char16_t* label) {
  const bool outermost = tNesting == 1;
  if (tNesting > 0) --tNesting;
  if (Succeeded(code)) return code;
  const AutoErrorOptions options = Options();
  if (options.noRecord) {
    if (code == DISP_E_EXCEPTION && exception) FreeExceptionStrings(exception);
    return code;
  }
  AutoErrorRecord* record = tRecord;
  if (!record) {
    record = static_cast<AutoErrorRecord*>(std::calloc(1, sizeof(AutoErrorRecord)));
    if (!record) return code;
    tRecord = record;
  }
  if (record->complete) {  // the record of an earlier failure: start afresh
    FreeRecordStrings(record);
    std::memset(record, 0, sizeof *record);
  }
  if (record->resultCode == 0) {
    record->argErrorPosition = argErrorPosition;
    record->resultCode = code;
    record->failingLabel = label;
    record->fromInvoke = fromInvoke;
    if (failingMember) AutoCopyWide(record->failingMember, 64, failingMember);
    if (exception && code == DISP_E_EXCEPTION) {
      if (exception->deferredFillIn && IsCodeAddress(reinterpret_cast<const void*>(exception->deferredFillIn)))
        exception->deferredFillIn(exception);
      record->description = exception->description;
      record->source = exception->source;
      record->helpFile = exception->helpFile;
      exception->description = exception->source = exception->helpFile = nullptr;
      record->helpContext = exception->helpContext;
      record->exceptionCode = exception->code ? exception->code : exception->scode;
    }
  } else if (exception) {
    FreeExceptionStrings(exception);
  }
  if (outermost) {
    record->complete = 1;
    record->outermostLabel = label;
    if (memberPath) AutoCopyWide(record->memberPath, 256, memberPath);
    if (options.show) AutoShowError(record);
    if (options.callback) options.callback(record);
  }
  return code;
}

// ---- formatting ---------------------------------------------------------------------------------------------------

namespace {

std::u16string Text(const char16_t* t) { return t ? std::u16string(t) : std::u16string(); }
std::u16string StringText(BSTR t) { return t ? std::u16string(t, SysStringLen(t)) : std::u16string(); }

BSTR NewString(const std::u16string& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A text cut to at most `limit` characters, never between the halves of a surrogate pair.
std::u16string Cut(std::u16string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t n = limit;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.resize(n);
  return text;
}

// The description of a record that has none, from its message code.
std::u16string Describe(const AutoErrorRecord* record, HRESULT messageCode) {
  const std::u16string member = Text(record->failingMember);
  if (messageCode == E_NOINTERFACE) return u"Object required";
  if (messageCode == DISP_E_MEMBERNOTFOUND || messageCode == DISP_E_UNKNOWNNAME)
    return u"Object doesn't support this property or method: '" + member + u"'";
  if (messageCode == DISP_E_TYPEMISMATCH && !member.empty())
    return u"Type mismatch: '" + member + u"'. Argument Index: " +
           Widen(std::to_string(static_cast<int>(record->argErrorPosition)));
  char text[256];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(messageCode), 1024, text, sizeof text, nullptr);
  if (n == 0) return u"Unknown runtime error";
  char16_t wide[256];
  int w = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(n), wide, 255);
  if (w <= 0) return u"Unknown runtime error";
  return std::u16string(wide, static_cast<std::size_t>(w));
}

std::u16string Hex(HRESULT code) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(code));
  return Widen(text);
}

}  // namespace

HRESULT AutoFormatError(AutoErrorRecord* record, char16_t* buffer, UINT size, int fixedLayout) {
  if (!buffer && size) return E_INVALIDARG;
  if (!record) {
    record = tRecord;
    if (!record) {
      if (size) AutoCopyWide(buffer, size, u"No error information available.");
      return S_OK;
    }
  }
  const HRESULT messageCode = (record->resultCode == DISP_E_EXCEPTION && record->exceptionCode != 0)
                                  ? static_cast<HRESULT>(record->exceptionCode)
                                  : record->resultCode;
  if (!record->source) {
    record->source = SysAllocString(record->fromInvoke ? u"IDispatch Interface" : u"Application");
    if (!record->source) return E_OUTOFMEMORY;
  }
  if (!record->description) {
    record->description = NewString(Cut(Describe(record, messageCode), 255));
    if (!record->description) return E_OUTOFMEMORY;
  }
  std::u16string description = StringText(record->description);
  std::size_t trimmed = description.size();
  if (trimmed >= 2 && description[trimmed - 2] == u'\r' && description[trimmed - 1] == u'\n')
    trimmed -= 2;
  else if (trimmed >= 1 && description[trimmed - 1] == u'\n')
    trimmed -= 1;
  if (trimmed != description.size()) {
    description.resize(trimmed);
    BSTR shorter = NewString(description);
    if (!shorter) return E_OUTOFMEMORY;
    SysFreeString(record->description);
    record->description = shorter;
  }
  if (size == 0) return S_OK;
  const std::u16string path = Text(record->memberPath);
  const std::u16string outer = Text(record->outermostLabel);
  const std::u16string failing = Text(record->failingLabel);
  const std::u16string source = StringText(record->source);
  std::u16string text;
  if (fixedLayout)
    text = u"Member:   " + path + u"\r\nFunction: " + outer + u"\r\nError In: " + failing + u"\r\nError:    " +
           description + u"\r\nCode:     " + Hex(messageCode) + u"\r\nSource:   " + source;
  else
    text = u"Member:\t  " + path + u"\r\nFunction:\t  " + outer + u"\t\t\r\nError In:\t  " + failing +
           u"\r\nError:\t  " + description + u"\r\nCode:\t  " + Hex(messageCode) + u"\r\nSource:\t  " + source;
  return AutoCopyWide(buffer, size, text.c_str());
}

HRESULT AutoFormatErrorA(AutoErrorRecord* record, char* buffer, UINT size, int fixedLayout) {
  if (!buffer && size) return E_INVALIDARG;
  char16_t wide[1024];
  HRESULT hr = AutoFormatError(record, wide, 1024, fixedLayout);
  if (Failed(hr)) return hr;
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, static_cast<int>(size), nullptr, nullptr) == 0)
    return HResultFromWin32(GetLastError());
  return S_OK;
}

HRESULT AutoShowError(AutoErrorRecord* record) {
  char16_t text[512];
  HRESULT hr = AutoFormatError(record, text, 512, 0);
  if (Failed(hr)) return hr;
  const AutoErrorOptions options = Options();
  MessageBoxW(options.ownerWindow, text, options.caption, 0x10010);
  return S_OK;
}

// ---- dates --------------------------------------------------------------------------------------------------------

HRESULT AutoFileTimeToDate(const FILETIME* fileTime, DATE* date) {
  if (!fileTime || !date) return E_INVALIDARG;
  const std::uint64_t value = FileTimeValue(*fileTime);
  if (value >= kFileTimeBound - 500) return E_INVALIDARG;  // value + 500 would reach the bound
  const std::int64_t sum = static_cast<std::int64_t>(value + 500);
  double days = static_cast<double>(static_cast<long double>(sum - kUnitsAt1899) / kUnitsPerDay);
  if (days < 0) days = 2 * std::floor(days) - days;
  *date = days;
  return S_OK;
}

HRESULT AutoDateToFileTime(DATE date, FILETIME* fileTime) {
  if (!fileTime) return E_INVALIDARG;
  if (date < 0) date = 2 * std::ceil(date) - date;
  if (!(date >= kEarliestDate)) return E_INVALIDARG;
  const long double units = static_cast<long double>(date) * kUnitsPerDay + kUnitsAt1899;
  if (!(units < 9223372036854775808.0L)) return E_INVALIDARG;  // beyond what a FILETIME holds
  *fileTime = MakeFileTime(static_cast<std::uint64_t>(units));
  return S_OK;
}

HRESULT AutoDateToSystemTime(DATE date, SYSTEMTIME* systemTime) {
  if (!systemTime) return E_INVALIDARG;
  FILETIME ft{};
  HRESULT hr = AutoDateToFileTime(date, &ft);
  if (Failed(hr)) return hr;
  if (!FileTimeToSystemTime(&ft, systemTime)) return HResultFromWin32(GetLastError());
  return S_OK;
}

HRESULT AutoSystemTimeToDate(const SYSTEMTIME* systemTime, DATE* date) {
  if (!systemTime || !date) return E_INVALIDARG;
  FILETIME ft{};
  if (!SystemTimeToFileTime(systemTime, &ft)) return HResultFromWin32(GetLastError());
  return AutoFileTimeToDate(&ft, date);
}

HRESULT AutoDateToTime(DATE date, AutoTime32* time) {
  if (!time) return E_INVALIDARG;
  if (!(date >= kDate1970 && date <= kLastTimeDate)) return E_INVALIDARG;
  const std::time_t t = static_cast<std::time_t>((date - kDate1970) * kSecondsPerDay + 0.5);
  std::tm broken{};
  if (!gmtime_r(&t, &broken)) return E_FAIL;
  broken.tm_isdst = -1;
  const std::time_t local = std::mktime(&broken);
  if (local == static_cast<std::time_t>(-1)) return E_FAIL;
  if (local < INT32_MIN || local > INT32_MAX) return E_FAIL;
  *time = static_cast<AutoTime32>(local);
  return S_OK;
}

HRESULT AutoTimeToDate(AutoTime32 time, DATE* date) {
  if (!date) return E_INVALIDARG;
  const std::time_t t = time;
  std::tm local{}, utc{};
  if (!localtime_r(&t, &local) || !gmtime_r(&t, &utc)) return E_FAIL;
  local.tm_isdst = 0;
  utc.tm_isdst = 0;
  const std::time_t localBack = std::mktime(&local);
  const std::time_t utcBack = std::mktime(&utc);
  if (localBack == static_cast<std::time_t>(-1) || utcBack == static_cast<std::time_t>(-1)) return E_FAIL;
  *date = static_cast<double>(static_cast<std::int64_t>(t) + localBack - utcBack) / kSecondsPerDay + kDate1970;
  return S_OK;
}

// ---- texts --------------------------------------------------------------------------------------------------------

HRESULT AutoAnsiToBstr(const char* text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!text) return S_OK;
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return HResultFromWin32(GetLastError());
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (!wide) return E_OUTOFMEMORY;
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length) == 0) {
    HRESULT hr = HResultFromWin32(GetLastError());
    SysFreeString(wide);
    return hr;
  }
  *out = wide;
  return S_OK;
}

HRESULT AutoBstrToAnsi(const char16_t* wide, char** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!wide) return S_OK;
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return HResultFromWin32(GetLastError());
  BSTR bytes = SysAllocStringByteLen(nullptr, static_cast<UINT>(length - 1));
  if (!bytes) return E_OUTOFMEMORY;
  char* text = reinterpret_cast<char*>(bytes);
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, length, nullptr, nullptr) == 0) {
    HRESULT hr = HResultFromWin32(GetLastError());
    SysFreeString(bytes);
    return hr;
  }
  *out = text;
  return S_OK;
}
