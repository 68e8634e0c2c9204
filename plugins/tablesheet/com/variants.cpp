// Automation strings and VARIANTs: allocation, clearing, copying and type conversion.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "com/com.h"

namespace com {

namespace {

std::atomic<long> gStringsAlive{0};

constexpr std::size_t kHeader = sizeof(std::uint32_t);
constexpr std::uint32_t kMaxBytes = 0x7FFFFFF0u;

BSTR AllocBytes(const void* data, std::uint32_t bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(kHeader + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  std::memcpy(block, &bytes, kHeader);
  if (data)
    std::memcpy(block + kHeader, data, bytes);
  else
    std::memset(block + kHeader, 0, bytes);
  std::memset(block + kHeader + bytes, 0, sizeof(OLECHAR));
  gStringsAlive.fetch_add(1, std::memory_order_relaxed);
  return reinterpret_cast<BSTR>(block + kHeader);
}

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(WideLength(text)));
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
  if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  return AllocBytes(text, static_cast<std::uint32_t>(length * sizeof(OLECHAR)));
}

BSTR SysAllocStringByteLen(const char* text, UINT bytes) { return AllocBytes(text, bytes); }

void SysFreeString(BSTR text) {
  if (!text) return;
  gStringsAlive.fetch_sub(1, std::memory_order_relaxed);
  std::free(reinterpret_cast<unsigned char*>(text) - kHeader);
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - kHeader, kHeader);
  return bytes;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

long SysStringsAlive() { return gStringsAlive.load(std::memory_order_relaxed); }

// ---- VARIANTs -----------------------------------------------------------------------------------------------------

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

namespace {

bool KnownType(VARTYPE vt) {
  if (vt & VT_BYREF) return true;
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_DATE: case VT_BSTR:
    case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_I1: case VT_UI1: case VT_UI2:
    case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      return true;
    default:
      return false;
  }
}

}  // namespace

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!KnownType(v->vt)) return DISP_E_BADVARTYPE;
  switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstr); break;
    case VT_DISPATCH:
      if (v->dispatch) v->dispatch->Release();
      break;
    case VT_UNKNOWN:
      if (v->unknown) v->unknown->Release();
      break;
    default: break;
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source) {
  if (!dest || !source) return E_INVALIDARG;
  if (dest == source) return S_OK;
  if (!KnownType(source->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy = *source;
  if (source->vt == VT_BSTR && source->bstr) {
    copy.bstr = SysAllocStringByteLen(reinterpret_cast<const char*>(source->bstr), SysStringByteLen(source->bstr));
    if (!copy.bstr) return E_OUTOFMEMORY;
  } else if (source->vt == VT_DISPATCH && source->dispatch) {
    source->dispatch->AddRef();
  } else if (source->vt == VT_UNKNOWN && source->unknown) {
    source->unknown->AddRef();
  }
  HRESULT hr = VariantClear(dest);
  if (Failed(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

// ---- conversion ---------------------------------------------------------------------------------------------------

namespace {

// A value read from a VARIANT on its way to another type.
struct Number {
  bool integral = false;
  std::int64_t i = 0;
  double r = 0;
  double Real() const { return integral ? static_cast<double>(i) : r; }
};

std::u16string TextOf(BSTR b) { return b ? std::u16string(b, SysStringLen(b)) : std::u16string(); }

std::string Trimmed(const std::u16string& text) {
  std::string s = Narrow(text);
  std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  std::size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool SameAscii(const std::string& a, const char* b) {
  std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t k = 0; k < n; ++k) {
    char x = a[k], y = b[k];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// A text read as a number: optional sign, decimal digits with an optional "." fraction and exponent.
bool ParseNumber(const std::u16string& text, Number* out) {
  std::string s = Trimmed(text);
  if (s.empty()) return false;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  const char* digits = (*first == '+' || *first == '-') ? first + 1 : first;
  if (digits == last || !((*digits >= '0' && *digits <= '9') || *digits == '.')) return false;
  if (*first == '+') first = digits;
  std::int64_t i = 0;
  auto [pi, ei] = std::from_chars(first, last, i);
  if (ei == std::errc() && pi == last) {
    *out = Number{true, i, 0};
    return true;
  }
  double r = 0;
  auto [pr, er] = std::from_chars(first, last, r, std::chars_format::general);
  if (pr != last) return false;
  if (er == std::errc::result_out_of_range) r = (*first == '-') ? -HUGE_VAL : HUGE_VAL;
  else if (er != std::errc()) return false;
  *out = Number{false, 0, r};
  return true;
}

// ---- dates as calendar days -----------------------------------------------------------------------------------

// Days from 1970-01-01 to the civil date y-m-d (proleptic Gregorian).
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

constexpr std::int64_t kEpochOffset = 25569;  // days from 1899-12-30 to 1970-01-01
constexpr double kMinDate = -657434.0;        // 1 January 100
constexpr double kMaxDate = 2958465.999988426;  // 31 December 9999 23:59:59

std::u16string DateText(DATE date) {
  double day = date >= 0 ? std::floor(date) : std::ceil(date);
  std::int64_t seconds = std::llround(std::fabs(date - day) * 86400.0);
  std::int64_t calendarDay = static_cast<std::int64_t>(day);
  if (seconds >= 86400) {
    seconds -= 86400;
    calendarDay += 1;
  }
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(calendarDay - kEpochOffset, &y, &m, &d);
  char buf[64];
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
  else
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(y), m, d,
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
  return Widen(buf);
}

bool ParseDate(const std::u16string& text, DATE* out) {
  std::string s = Trimmed(text);
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, used = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3) return false;
  std::string rest = s.substr(static_cast<std::size_t>(used));
  if (!rest.empty()) {
    int used2 = 0;
    if (std::sscanf(rest.c_str(), " %2d:%2d:%2d%n", &h, &mi, &se, &used2) == 3 ||
        (se = 0, std::sscanf(rest.c_str(), " %2d:%2d%n", &h, &mi, &used2) == 2)) {
      if (static_cast<std::size_t>(used2) != rest.size()) return false;
    } else {
      return false;
    }
  }
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 100 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || se > 59) return false;
  unsigned monthDays = kDays[mo - 1] + ((mo == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) ? 1 : 0);
  if (static_cast<unsigned>(d) > monthDays) return false;
  std::int64_t day = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) + kEpochOffset;
  double fraction = (h * 3600.0 + mi * 60.0 + se) / 86400.0;
  *out = day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
  return true;
}

std::u16string RealText(double r) {
  if (r == 0) return u"0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", r);
  return Widen(buf);
}

HRESULT ReadNumber(const VARIANT* s, Number* out, int depth);

// An object's default value (member 0, read as a property).
HRESULT DefaultValue(IDispatch* object, VARIANT* out) {
  VariantInit(out);
  if (!object) return DISP_E_TYPEMISMATCH;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out, nullptr,
                              nullptr);
  if (Failed(hr)) {
    VariantClear(out);
    return DISP_E_TYPEMISMATCH;
  }
  if (out->vt == VT_DISPATCH || out->vt == VT_UNKNOWN) {
    VariantClear(out);
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT ReadNumber(const VARIANT* s, Number* out, int depth) {
  switch (s->vt) {
    case VT_EMPTY: *out = Number{true, 0, 0}; return S_OK;
    case VT_I1: *out = Number{true, s->i1, 0}; return S_OK;
    case VT_UI1: *out = Number{true, s->ui1, 0}; return S_OK;
    case VT_I2: *out = Number{true, s->i2, 0}; return S_OK;
    case VT_UI2: *out = Number{true, s->ui2, 0}; return S_OK;
    case VT_I4: case VT_INT: *out = Number{true, s->i4, 0}; return S_OK;
    case VT_UI4: case VT_UINT: *out = Number{true, s->ui4, 0}; return S_OK;
    case VT_I8: *out = Number{true, s->i8, 0}; return S_OK;
    case VT_UI8:
      if (s->ui8 <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        *out = Number{true, static_cast<std::int64_t>(s->ui8), 0};
      else
        *out = Number{false, 0, static_cast<double>(s->ui8)};
      return S_OK;
    case VT_R4: *out = Number{false, 0, s->r4}; return S_OK;
    case VT_R8: *out = Number{false, 0, s->r8}; return S_OK;
    case VT_DATE: *out = Number{false, 0, s->date}; return S_OK;
    case VT_BOOL: *out = Number{true, s->boolean ? -1 : 0, 0}; return S_OK;
    case VT_BSTR: {
      std::u16string text = TextOf(s->bstr);
      if (ParseNumber(text, out)) return S_OK;
      std::string t = Trimmed(text);
      if (SameAscii(t, "True")) { *out = Number{true, -1, 0}; return S_OK; }
      if (SameAscii(t, "False")) { *out = Number{true, 0, 0}; return S_OK; }
      return DISP_E_TYPEMISMATCH;
    }
    case VT_DISPATCH: {
      if (depth > 0) return DISP_E_TYPEMISMATCH;
      VARIANT value;
      HRESULT hr = DefaultValue(s->dispatch, &value);
      if (Failed(hr)) return hr;
      hr = ReadNumber(&value, out, depth + 1);
      VariantClear(&value);
      return hr;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

HRESULT ReadText(const VARIANT* s, WORD flags, std::u16string* out, int depth) {
  switch (s->vt) {
    case VT_EMPTY: out->clear(); return S_OK;
    case VT_BSTR: *out = TextOf(s->bstr); return S_OK;
    case VT_BOOL:
      if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))
        *out = s->boolean ? u"True" : u"False";
      else
        *out = s->boolean ? u"-1" : u"0";
      return S_OK;
    case VT_DATE: *out = DateText(s->date); return S_OK;
    case VT_R4: *out = RealText(s->r4); return S_OK;
    case VT_R8: *out = RealText(s->r8); return S_OK;
    case VT_DISPATCH: {
      if (depth > 0) return DISP_E_TYPEMISMATCH;
      VARIANT value;
      HRESULT hr = DefaultValue(s->dispatch, &value);
      if (Failed(hr)) return hr;
      hr = ReadText(&value, flags, out, depth + 1);
      VariantClear(&value);
      return hr;
    }
    default: {
      Number n;
      HRESULT hr = ReadNumber(s, &n, depth);
      if (Failed(hr)) return hr;
      if (n.integral)
        *out = Widen(std::to_string(n.i));
      else
        *out = RealText(n.r);
      return S_OK;
    }
  }
}

// A number rounded half to even into [low, high]; DISP_E_OVERFLOW outside.
HRESULT ToIntegral(const Number& n, double low, double high, std::int64_t* out) {
  if (n.integral) {
    if (static_cast<double>(n.i) < low || static_cast<double>(n.i) > high) return DISP_E_OVERFLOW;
    *out = n.i;
    return S_OK;
  }
  if (std::isnan(n.r)) return DISP_E_OVERFLOW;
  double r = std::nearbyint(n.r);
  if (r < low || r > high) return DISP_E_OVERFLOW;
  *out = static_cast<std::int64_t>(r);
  return S_OK;
}

HRESULT Convert(const VARIANT* s, WORD flags, VARTYPE vt, VARIANT* d) {
  VariantInit(d);
  if (s->vt & VT_BYREF) return DISP_E_BADVARTYPE;
  if (s->vt == vt) return VariantCopy(d, s);
  if (s->vt == VT_NULL || s->vt == VT_ERROR) return vt == VT_EMPTY ? S_OK : DISP_E_TYPEMISMATCH;
  switch (vt) {
    case VT_EMPTY: return S_OK;
    case VT_NULL: case VT_ERROR: return DISP_E_TYPEMISMATCH;
    case VT_BSTR: {
      std::u16string text;
      HRESULT hr = ReadText(s, flags, &text, 0);
      if (Failed(hr)) return hr;
      BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      if (!b) return E_OUTOFMEMORY;
      d->vt = VT_BSTR;
      d->bstr = b;
      return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      if (s->vt == VT_EMPTY) {
        d->vt = vt;
        d->unknown = nullptr;
        return S_OK;
      }
      if (s->vt != VT_DISPATCH && s->vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
      IUnknown* from = s->vt == VT_DISPATCH ? static_cast<IUnknown*>(s->dispatch) : s->unknown;
      void* to = nullptr;
      if (from) {
        HRESULT hr = from->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &to);
        if (Failed(hr)) return hr == E_NOINTERFACE ? DISP_E_TYPEMISMATCH : hr;
      }
      d->vt = vt;
      if (vt == VT_DISPATCH)
        d->dispatch = static_cast<IDispatch*>(to);
      else
        d->unknown = static_cast<IUnknown*>(to);
      return S_OK;
    }
    default: break;
  }
  Number n;
  HRESULT hr = S_OK;
  if (vt == VT_DATE && s->vt == VT_BSTR) {
    DATE date = 0;
    if (!ParseDate(TextOf(s->bstr), &date)) return DISP_E_TYPEMISMATCH;
    n = Number{false, 0, date};
  } else {
    hr = ReadNumber(s, &n, 0);
    if (Failed(hr)) return hr;
  }
  std::int64_t i = 0;
  switch (vt) {
    case VT_I1:
      if (Failed(hr = ToIntegral(n, -128, 127, &i))) return hr;
      d->i1 = static_cast<std::int8_t>(i);
      break;
    case VT_UI1:
      if (Failed(hr = ToIntegral(n, 0, 255, &i))) return hr;
      d->ui1 = static_cast<std::uint8_t>(i);
      break;
    case VT_I2:
      if (Failed(hr = ToIntegral(n, -32768, 32767, &i))) return hr;
      d->i2 = static_cast<std::int16_t>(i);
      break;
    case VT_UI2:
      if (Failed(hr = ToIntegral(n, 0, 65535, &i))) return hr;
      d->ui2 = static_cast<std::uint16_t>(i);
      break;
    case VT_I4:
    case VT_INT:
      if (Failed(hr = ToIntegral(n, -2147483648.0, 2147483647.0, &i))) return hr;
      d->i4 = static_cast<std::int32_t>(i);
      break;
    case VT_UI4:
    case VT_UINT:
      if (Failed(hr = ToIntegral(n, 0, 4294967295.0, &i))) return hr;
      d->ui4 = static_cast<std::uint32_t>(i);
      break;
    case VT_I8:
      if (Failed(hr = ToIntegral(n, -9223372036854775808.0, 9223372036854774784.0, &i))) return hr;
      d->i8 = i;
      break;
    case VT_UI8:
      if (Failed(hr = ToIntegral(n, 0, 9223372036854774784.0, &i))) return hr;
      d->ui8 = static_cast<std::uint64_t>(i);
      break;
    case VT_R4: {
      double r = n.Real();
      if (std::fabs(r) > std::numeric_limits<float>::max() && !std::isinf(r)) return DISP_E_OVERFLOW;
      d->r4 = static_cast<float>(r);
      break;
    }
    case VT_R8: d->r8 = n.Real(); break;
    case VT_DATE: {
      double r = n.Real();
      if (!(r >= kMinDate && r <= kMaxDate)) return DISP_E_OVERFLOW;
      d->date = r;
      break;
    }
    case VT_BOOL: d->boolean = n.Real() != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    default: return DISP_E_BADVARTYPE;
  }
  d->vt = vt;
  return S_OK;
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, WORD flags, VARTYPE vt) {
  if (!dest || !source) return E_INVALIDARG;
  if (!KnownType(source->vt) || !KnownType(vt) || (vt & VT_BYREF)) return DISP_E_BADVARTYPE;
  VARIANT converted;
  HRESULT hr = Convert(source, flags, vt, &converted);
  if (Failed(hr)) {
    VariantClear(&converted);
    return hr;
  }
  VariantClear(dest);  // when dest is source, the source goes now: `converted` holds its own copy
  *dest = converted;
  return S_OK;
}

}  // namespace com
