// The workbook plug-in: the automation library's conversions, error record and calls (driven in process on a probe
// server that logs every call), the spreadsheet server stand-in, the plug-in's steps in order, and the built plug-in
// copied into a program folder of the test's own and loaded from there by full path as Finance loads it, down to the
// .xlsx it writes (read back from its XML), the boxes it shows and the path it hands to the desktop opener (a fake
// one first in PATH).
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "automation/automation.h"
#include "com/com.h"
#include "com/dispatch_object.h"
#include "common/export.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "plugins/plugin_setup.h"
#include "sheet_server.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/workbook_file.h"
#include "workbook_export.h"

namespace {

using com::BSTR;
using com::DISPID;
using com::HRESULT;
using com::IDispatch;
using com::VARIANT;

constexpr HRESULT kInvalidArg = com::E_INVALIDARG;

std::string N(const std::u16string& s) { return com::Narrow(s); }
std::string N(const char16_t* s) { return s ? com::Narrow(s) : std::string("<null>"); }
std::string NB(BSTR s) { return s ? com::Narrow(std::u16string(s, com::SysStringLen(s))) : std::string("<null>"); }
std::string Hex(HRESULT hr) {
  char t[16];
  std::snprintf(t, sizeof t, "%08x", static_cast<unsigned>(hr));
  return t;
}

// ---- a probe server: logs every call, answers gets with child probes or fixed values ---------------------------

std::vector<std::string> gLog;
int gProbesAlive = 0;

std::string Show(const VARIANT& v) {
  char t[64];
  switch (v.vt) {
    case com::VT_EMPTY: return "empty";
    case com::VT_I4: return "i4:" + std::to_string(v.i4);
    case com::VT_UI4: return "ui4:" + std::to_string(v.ui4);
    case com::VT_BSTR: return "bstr:" + NB(v.bstr);
    case com::VT_BOOL: return "bool:" + std::to_string(v.boolean);
    case com::VT_R8: std::snprintf(t, sizeof t, "r8:%g", v.r8); return t;
    case com::VT_DATE: std::snprintf(t, sizeof t, "date:%.6f", v.date); return t;
    case com::VT_DISPATCH: return "dispatch";
    case com::VT_UNKNOWN: return "unknown";
    case com::VT_ERROR: return "error:" + Hex(v.scode);
    default: return "vt:" + std::to_string(v.vt);
  }
}

HRESULT FillLater(com::EXCEPINFO* e) {
  e->description = com::SysAllocString(u"Filled later");
  e->source = com::SysAllocString(u"Later");
  e->scode = com::E_FAIL;
  return com::S_OK;
}

// Fixed answers of members read from any probe.
VARIANT Answer(const std::u16string& name, bool* found) {
  VARIANT v;
  com::VariantInit(&v);
  *found = true;
  if (name == u"Text") {
    v.vt = com::VT_BSTR;
    v.bstr = com::SysAllocString(u"Пётр Budi");
  } else if (name == u"Number") {
    v.vt = com::VT_I4;
    v.i4 = 42;
  } else if (name == u"Flag") {
    v.vt = com::VT_BOOL;
    v.boolean = com::VARIANT_TRUE;
  } else if (name == u"When") {
    v.vt = com::VT_DATE;
    v.date = 45537.5;  // 2024-09-02 12:00
  } else if (name == u"Nothing") {
    // an empty result
  } else {
    *found = false;
  }
  return v;
}

class Probe final : public com::IDispatch, public com::IPersistFile {
 public:
  explicit Probe(std::string path) : path_(std::move(path)) { ++gProbesAlive; }

  HRESULT QueryInterface(const com::IID& iid, void** out) override {
    if (iid == com::IID_IUnknown || iid == com::IID_IDispatch)
      *out = static_cast<com::IDispatch*>(this);
    else if (iid == com::IID_IPersistFile)
      *out = static_cast<com::IPersistFile*>(this);
    else {
      *out = nullptr;
      return com::E_NOINTERFACE;
    }
    AddRef();
    return com::S_OK;
  }
  com::ULONG AddRef() override { return ++refs_; }
  com::ULONG Release() override {
    com::ULONG n = --refs_;
    if (!n) delete this;
    return n;
  }
  HRESULT GetIDsOfNames(const com::IID&, com::LPOLESTR* names, com::UINT, com::LCID locale, DISPID* ids) override {
    const std::u16string name = names[0];
    if (name == u"Unknown" || locale != com::LOCALE_USER_DEFAULT) {
      ids[0] = com::DISPID_UNKNOWN;
      return com::DISP_E_UNKNOWNNAME;
    }
    auto it = std::find(names_.begin(), names_.end(), name);
    if (it == names_.end()) it = names_.insert(names_.end(), name);
    ids[0] = static_cast<DISPID>(it - names_.begin()) + 1;
    return com::S_OK;
  }
  HRESULT Invoke(DISPID id, const com::IID&, com::LCID, com::WORD flags, com::DISPPARAMS* p, VARIANT* result,
                 com::EXCEPINFO* ex, com::UINT* argErr) override {
    const std::u16string name = names_.at(static_cast<std::size_t>(id - 1));
    const bool put = flags & (com::DISPATCH_PROPERTYPUT | com::DISPATCH_PROPERTYPUTREF);
    std::string line = path_ + "." + N(name) + " " + std::to_string(flags);
    for (com::UINT k = p->argCount; k > (put ? 1u : 0u); --k) line += " " + Show(p->args[k - 1]);
    if (put) {
      line += " =" + (p->argCount ? Show(p->args[0]) : std::string("none"));
      if (p->namedArgCount != 1 || p->namedArgs[0] != com::DISPID_PROPERTYPUT) line += " bad-named";
    } else if (p->namedArgCount) {
      line += " bad-named";
    }
    gLog.push_back(line);
    if (name == u"Fail") return com::RaiseException(ex, 77, 0, u"Probe", u"Kaboom\r\n");
    if (name == u"FailLine") return com::RaiseException(ex, 0, com::E_ACCESSDENIED, u"Probe", u"Line\n");
    if (name == u"FailLater") {
      *ex = com::EXCEPINFO{};
      ex->deferredFillIn = &FillLater;
      return com::DISP_E_EXCEPTION;
    }
    if (name == u"Mismatch") {
      if (argErr) *argErr = 1;
      return com::DISP_E_TYPEMISMATCH;
    }
    bool found = false;
    VARIANT answer = Answer(name, &found);
    if (found) {
      if (result) *result = answer;
      else com::VariantClear(&answer);
      return com::S_OK;
    }
    if (result && (flags & com::DISPATCH_PROPERTYGET)) {
      result->vt = com::VT_DISPATCH;
      result->dispatch = new Probe(path_ + "." + N(name));
    }
    return com::S_OK;
  }
  HRESULT Load(com::LPCOLESTR file, com::DWORD mode) override {
    gLog.push_back(path_ + " Load " + N(file) + " " + std::to_string(mode));
    return com::S_OK;
  }
  HRESULT Save(com::LPCOLESTR, com::BOOL) override { return com::E_NOTIMPL; }

 private:
  ~Probe() { --gProbesAlive; }
  std::atomic<com::ULONG> refs_{1};
  std::string path_;
  std::vector<std::u16string> names_;
};

HRESULT CreateProbe(const com::IID& iid, void** out) {
  auto* p = new Probe("probe");
  HRESULT hr = p->QueryInterface(iid, out);
  p->Release();
  return hr;
}
HRESULT CreateAppProbe(const com::IID& iid, void** out) {
  auto* p = new Probe("app");
  HRESULT hr = p->QueryInterface(iid, out);
  p->Release();
  return hr;
}

const com::CLSID kProbeClsid = {0x8cd26a9b, 0x9eb1, 0x4e6d, {0x86, 0xdb, 0xfc, 0x8a, 0x11, 0x71, 0x64, 0xf8}};
const char16_t kProbeClsidText[] = u"{8cd26a9b-9eb1-4e6d-86db-fc8a117164f8}";
const com::CLSID kAppProbeClsid = {0x2634fe4d, 0xe663, 0x43e9, {0xa3, 0x5d, 0xba, 0x4b, 0xe8, 0x3e, 0xb8, 0x3e}};

void RegisterClass(const com::CLSID& clsid, const char16_t* progId, com::CreateRoutine create) {
  com::IClassFactory* f = com::NewClassFactory(create);
  ASSERT_EQ(com::CoRegisterClass(clsid, progId, com::CLSCTX_INPROC_SERVER, f), com::S_OK);
  f->Release();
}

// Message boxes shown by the library.
struct Box {
  std::intptr_t owner;
  std::string text, caption;
  com::UINT style;
};
std::vector<Box> gBoxes;
int RecordBox(std::intptr_t owner, const std::u16string& text, const std::u16string& caption, com::UINT style) {
  gBoxes.push_back({owner, N(text), N(caption), style});
  return 1;
}

// The thread's error record formatted (fixed layout), or "" when there is none.
std::string Formatted(int fixedLayout = 1) {
  char16_t buf[1024];
  EXPECT_EQ(AutoFormatError(nullptr, buf, 1024, fixedLayout), com::S_OK);
  return N(buf);
}
AutoErrorRecord* Record() {
  AutoErrorRecord* r = nullptr;
  EXPECT_EQ(AutoGetErrorRecord(&r), com::S_OK);
  return r;
}

// Sets a fixed time zone (seven hours east of UTC, no daylight saving) for the test's lifetime.
class FixedZone {
 public:
  FixedZone() {
    const char* tz = std::getenv("TZ");
    had_ = tz != nullptr;
    if (tz) before_ = tz;
    setenv("TZ", "WIB-7", 1);
    tzset();
  }
  ~FixedZone() {
    if (had_) setenv("TZ", before_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  bool had_ = false;
  std::string before_;
};

// ---- conversions ------------------------------------------------------------------------------------------------

TEST(AutomationConversions, DatesAndFileTimes) {
  struct Case {
    double date;
    std::uint64_t fileTime;
  } cases[] = {
      {0.0, 94353120000000000ull},       // 30 December 1899
      {-1.25, 94352472000000000ull},     // 29 December 1899, 06:00
      {1.5, 94354416000000000ull},       // 31 December 1899, 12:00
      {-109205.0, 0ull},                 // 1 January 1601, the earliest date
      {-109205.5, 432000000000ull},      // 1 January 1601, 12:00
      {2958465.0, 2650466880000000000ull},  // 31 December 9999
  };
  for (const Case& c : cases) {
    com::FILETIME ft{};
    ASSERT_EQ(AutoDateToFileTime(c.date, &ft), com::S_OK) << c.date;
    EXPECT_EQ(com::FileTimeValue(ft), c.fileTime) << c.date;
    double back = 99;
    const com::FILETIME given = com::MakeFileTime(c.fileTime);
    ASSERT_EQ(AutoFileTimeToDate(&given, &back), com::S_OK) << c.date;
    EXPECT_NEAR(back, c.date, 1e-6) << c.date;
  }
  com::FILETIME ft{};
  double d = 0;
  EXPECT_EQ(AutoDateToFileTime(-109206.0, &ft), kInvalidArg);
  EXPECT_EQ(AutoDateToFileTime(1e300, &ft), kInvalidArg);
  const com::FILETIME atBound = com::MakeFileTime(2650467744000000000ull - 500);
  const com::FILETIME belowBound = com::MakeFileTime(2650467744000000000ull - 501);
  const com::FILETIME huge = com::MakeFileTime(~0ull);
  EXPECT_EQ(AutoFileTimeToDate(&atBound, &d), kInvalidArg);
  EXPECT_EQ(AutoFileTimeToDate(&huge, &d), kInvalidArg);
  EXPECT_EQ(AutoFileTimeToDate(&belowBound, &d), com::S_OK);
  // Missing result places.
  com::SYSTEMTIME st{2024, 9, 0, 2, 0, 0, 0, 0};
  EXPECT_EQ(AutoDateToFileTime(0, nullptr), kInvalidArg);
  EXPECT_EQ(AutoFileTimeToDate(&belowBound, nullptr), kInvalidArg);
  EXPECT_EQ(AutoSystemTimeToDate(&st, nullptr), kInvalidArg);
  EXPECT_EQ(AutoDateToSystemTime(0, nullptr), kInvalidArg);
  EXPECT_EQ(AutoTimeToDate(0, nullptr), kInvalidArg);
  EXPECT_EQ(AutoDateToTime(30000, nullptr), kInvalidArg);
}

TEST(AutomationConversions, SystemTimes) {
  com::SYSTEMTIME st{2024, 9, 0, 2, 0, 0, 0, 0};
  double d = 0;
  ASSERT_EQ(AutoSystemTimeToDate(&st, &d), com::S_OK);
  EXPECT_NEAR(d, 45537.0, 1e-6);

  com::SYSTEMTIME back{};
  ASSERT_EQ(AutoDateToSystemTime(45537.0 + (10 * 3600 + 15 * 60 + 30) / 86400.0, &back), com::S_OK);
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.month, 9);
  EXPECT_EQ(back.day, 2);
  EXPECT_EQ(back.dayOfWeek, 1);  // a Monday
  EXPECT_EQ(back.hour, 10);
  EXPECT_EQ(back.minute, 15);
  const int ms = back.second * 1000 + back.milliseconds;  // the conversion truncates: within a millisecond
  EXPECT_TRUE(ms == 30000 || ms == 29999) << ms;

  ASSERT_EQ(AutoDateToSystemTime(-1.25, &back), com::S_OK);
  EXPECT_EQ(std::vector<int>({back.year, back.month, back.day, back.hour}), std::vector<int>({1899, 12, 29, 6}));

  // A system time the calendar does not have: the system's failure, folded into a result code.
  com::SYSTEMTIME bad{2024, 13, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(AutoSystemTimeToDate(&bad, &d), com::HResultFromWin32(com::ERROR_INVALID_PARAMETER));
  com::SYSTEMTIME feb30{2024, 2, 0, 30, 0, 0, 0, 0};
  EXPECT_EQ(AutoSystemTimeToDate(&feb30, &d), com::HResultFromWin32(com::ERROR_INVALID_PARAMETER));
  EXPECT_EQ(AutoDateToSystemTime(-109206.0, &back), kInvalidArg);
}

TEST(AutomationConversions, TimeValuesReadAsLocalTime) {
  FixedZone zone;
  double d = 0;
  ASSERT_EQ(AutoTimeToDate(0, &d), com::S_OK);
  EXPECT_NEAR(d, 25569.0 + 7.0 / 24, 1e-9);
  AutoTime32 t = 1;
  ASSERT_EQ(AutoDateToTime(25569.0 + 7.0 / 24, &t), com::S_OK);
  EXPECT_EQ(t, 0);
  ASSERT_EQ(AutoDateToTime(25569.0 + 8.0 / 24, &t), com::S_OK);
  EXPECT_EQ(t, 3600);
  ASSERT_EQ(AutoDateToTime(50424.1348, &t), com::S_OK);
  EXPECT_EQ(AutoDateToTime(25568.9, &t), kInvalidArg);
  EXPECT_EQ(AutoDateToTime(50424.2, &t), kInvalidArg);
  EXPECT_EQ(AutoDateToTime(std::nan(""), &t), kInvalidArg);
}

TEST(AutomationConversions, Texts) {
  const long strings = com::SysStringsAlive();
  BSTR b = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(AutoAnsiToBstr("Пётр € 😀", &b), com::S_OK);
  EXPECT_EQ(std::u16string(b, com::SysStringLen(b)), u"Пётр € 😀");
  char* back = nullptr;
  ASSERT_EQ(AutoBstrToAnsi(b, &back), com::S_OK);
  EXPECT_STREQ(back, "Пётр € 😀");
  EXPECT_EQ(com::SysStringByteLen(reinterpret_cast<BSTR>(back)), std::string("Пётр € 😀").size());
  com::SysFreeString(reinterpret_cast<BSTR>(back));
  com::SysFreeString(b);

  ASSERT_EQ(AutoAnsiToBstr("", &b), com::S_OK);  // an empty text is an empty string, not a null one
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(com::SysStringLen(b), 0u);
  com::SysFreeString(b);
  ASSERT_EQ(AutoAnsiToBstr("a\xff" "b", &b), com::S_OK);  // not UTF-8: the replacement character
  EXPECT_EQ(std::u16string(b, com::SysStringLen(b)), u"a\uFFFDb");
  com::SysFreeString(b);

  b = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(AutoAnsiToBstr(nullptr, &b), com::S_OK);
  EXPECT_EQ(b, nullptr);
  back = reinterpret_cast<char*>(1);
  EXPECT_EQ(AutoBstrToAnsi(nullptr, &back), com::S_OK);
  EXPECT_EQ(back, nullptr);
  EXPECT_EQ(AutoAnsiToBstr("x", nullptr), kInvalidArg);
  EXPECT_EQ(AutoBstrToAnsi(u"x", nullptr), kInvalidArg);
  EXPECT_EQ(com::SysStringsAlive(), strings);
}

TEST(AutomationConversions, CopyWide) {
  char16_t buf[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(AutoCopyWide(buf, 0, u"abc"), kInvalidArg);
  EXPECT_EQ(buf[0], u'x');
  EXPECT_EQ(AutoCopyWide(buf, 4, u"abcdef"), com::S_OK);
  EXPECT_EQ(std::u16string(buf), u"abc");
  EXPECT_EQ(AutoCopyWide(buf, 4, u"ab😀"), com::S_OK);  // the pair does not fit: it is left out whole
  EXPECT_EQ(std::u16string(buf), u"ab");
  EXPECT_EQ(AutoCopyWide(buf, 4, nullptr), com::S_OK);
  EXPECT_EQ(std::u16string(buf), u"");
}

// ---- the substrate's own conversions --------------------------------------------------------------------------------

VARIANT MakeVariant(com::VARTYPE vt, double number, const char16_t* text = nullptr) {
  VARIANT v;
  com::VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case com::VT_I4: v.i4 = static_cast<std::int32_t>(number); break;
    case com::VT_R8: v.r8 = number; break;
    case com::VT_DATE: v.date = number; break;
    case com::VT_BOOL: v.boolean = number != 0 ? com::VARIANT_TRUE : com::VARIANT_FALSE; break;
    case com::VT_BSTR: v.bstr = com::SysAllocString(text); break;
    default: break;
  }
  return v;
}

TEST(Substrate, VariantChangeType) {
  const long strings = com::SysStringsAlive();
  struct Case {
    VARIANT from;
    com::WORD flags;
    com::VARTYPE to;
    HRESULT code;
    std::string result;
  } cases[] = {
      {MakeVariant(com::VT_I4, 42), 0, com::VT_BSTR, com::S_OK, "bstr:42"},
      {MakeVariant(com::VT_R8, 1.5), 0, com::VT_BSTR, com::S_OK, "bstr:1.5"},
      {MakeVariant(com::VT_R8, -75000), 0, com::VT_BSTR, com::S_OK, "bstr:-75000"},
      {MakeVariant(com::VT_BOOL, 1), 0, com::VT_BSTR, com::S_OK, "bstr:-1"},
      {MakeVariant(com::VT_BOOL, 1), com::VARIANT_LOCALBOOL, com::VT_BSTR, com::S_OK, "bstr:True"},
      {MakeVariant(com::VT_DATE, 45537.5), 0, com::VT_BSTR, com::S_OK, "bstr:2024-09-02 12:00:00"},
      {MakeVariant(com::VT_DATE, -1.25), 0, com::VT_BSTR, com::S_OK, "bstr:1899-12-29 06:00:00"},
      {MakeVariant(com::VT_BSTR, 0, u" 12 "), 0, com::VT_I4, com::S_OK, "i4:12"},
      {MakeVariant(com::VT_BSTR, 0, u"2.5"), 0, com::VT_I4, com::S_OK, "i4:2"},  // half to even
      {MakeVariant(com::VT_BSTR, 0, u"3.5"), 0, com::VT_I4, com::S_OK, "i4:4"},
      {MakeVariant(com::VT_BSTR, 0, u"abc"), 0, com::VT_I4, com::DISP_E_TYPEMISMATCH, ""},
      {MakeVariant(com::VT_BSTR, 0, u"inf"), 0, com::VT_R8, com::DISP_E_TYPEMISMATCH, ""},
      {MakeVariant(com::VT_BSTR, 0, u"true"), 0, com::VT_BOOL, com::S_OK, "bool:-1"},
      {MakeVariant(com::VT_BSTR, 0, u"2024-09-02"), 0, com::VT_DATE, com::S_OK, "date:45537.000000"},
      {MakeVariant(com::VT_BSTR, 0, u"2024-02-30"), 0, com::VT_DATE, com::DISP_E_TYPEMISMATCH, ""},
      {MakeVariant(com::VT_R8, 3e9), 0, com::VT_I4, com::DISP_E_OVERFLOW, ""},
      {MakeVariant(com::VT_R8, -1), 0, com::VT_UI4, com::DISP_E_OVERFLOW, ""},
      {MakeVariant(com::VT_EMPTY, 0), 0, com::VT_DISPATCH, com::S_OK, "dispatch"},
      {MakeVariant(com::VT_EMPTY, 0), 0, com::VT_BSTR, com::S_OK, "bstr:"},
      {MakeVariant(com::VT_NULL, 0), 0, com::VT_I4, com::DISP_E_TYPEMISMATCH, ""},
      {MakeVariant(com::VT_I4, 1), 0, com::VT_DISPATCH, com::DISP_E_TYPEMISMATCH, ""},
  };
  for (Case& c : cases) {
    VARIANT out;
    com::VariantInit(&out);
    EXPECT_EQ(com::VariantChangeType(&out, &c.from, c.flags, c.to), c.code) << Show(c.from) << " to " << c.to;
    if (c.code == com::S_OK) {
      EXPECT_EQ(Show(out), c.result) << Show(c.from);
    }
    EXPECT_EQ(com::VariantChangeType(&c.from, &c.from, c.flags, c.to), c.code);  // in place: the same
    if (c.code == com::S_OK) {
      EXPECT_EQ(Show(c.from), c.result);
    }
    com::VariantClear(&out);
    com::VariantClear(&c.from);
  }
  EXPECT_EQ(com::SysStringsAlive(), strings);  // the cases' own texts are gone too
}

TEST(Substrate, CodePagesAndClassIds) {
  char16_t wide[4];
  EXPECT_EQ(com::MultiByteToWideChar(com::CP_ACP, 0, "Ü😀", -1, nullptr, 0), 4);  // with the terminator
  EXPECT_EQ(com::MultiByteToWideChar(com::CP_ACP, 0, "Ü😀x", -1, wide, 4), 0);
  EXPECT_EQ(com::GetLastError(), com::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(com::MultiByteToWideChar(com::CP_UTF8, com::MB_ERR_INVALID_CHARS, "a\xc3", 2, wide, 4), 0);
  EXPECT_EQ(com::GetLastError(), com::ERROR_NO_UNICODE_TRANSLATION);
  EXPECT_EQ(com::MultiByteToWideChar(1252, 0, "a", 1, wide, 4), 0);
  EXPECT_EQ(com::GetLastError(), com::ERROR_INVALID_PARAMETER);
  char text[8];
  const char16_t lone[] = {u'a', 0xD800, 0};
  EXPECT_EQ(com::WideCharToMultiByte(com::CP_ACP, 0, lone, -1, text, sizeof text, nullptr, nullptr), 5);
  EXPECT_STREQ(text, "a\xEF\xBF\xBD");

  com::CLSID clsid{};
  ASSERT_EQ(com::CLSIDFromString(kProbeClsidText, &clsid), com::S_OK);
  EXPECT_TRUE(clsid == kProbeClsid);
  char16_t braced[39];
  ASSERT_EQ(com::StringFromGUID2(kProbeClsid, braced, 39), 39);
  EXPECT_EQ(N(braced), "{8CD26A9B-9EB1-4E6D-86DB-FC8A117164F8}");
  EXPECT_EQ(com::StringFromGUID2(kProbeClsid, braced, 38), 0);
  EXPECT_EQ(com::CLSIDFromString(u"8cd26a9b-9eb1-4e6d-86db-fc8a117164f8", &clsid), com::CO_E_CLASSSTRING);

  com::SYSTEMTIME st{};
  const com::FILETIME last = com::MakeFileTime(0x7FFFFFFFFFFFFFFFull);
  const com::FILETIME beyond = com::MakeFileTime(0x8000000000000000ull);
  EXPECT_TRUE(com::FileTimeToSystemTime(&last, &st));
  EXPECT_EQ(st.year, 30828);
  EXPECT_FALSE(com::FileTimeToSystemTime(&beyond, &st));
}

// ---- the library on a probe server ------------------------------------------------------------------------------

class AutomationTest : public ::testing::Test {
 protected:
  IDispatch* probe = nullptr;

  void SetUp() override {
    ASSERT_EQ(AutoInitialize(1, 0), com::S_OK);
    AutoErrorOptions none{};
    AutoSetErrorOptions(&none);
    AutoFreeThreadRecord();
    RegisterClass(kProbeClsid, u"Finance.Probe", &CreateProbe);
    com::SetMessageBoxHandler(&RecordBox);
    gBoxes.clear();
    ASSERT_EQ(AutoCreateObject(u"Finance.Probe", nullptr, &probe), com::S_OK);
    gLog.clear();
    strings_ = com::SysStringsAlive();
  }
  void TearDown() override {
    if (probe) probe->Release();
    EXPECT_EQ(gProbesAlive, 0);
    com::CoRevokeClass(kProbeClsid);
    com::SetMessageBoxHandler(nullptr);
    AutoErrorOptions none{};
    AutoSetErrorOptions(&none);
    AutoUninitialize(1);
    AutoInitialize(0, 0);
    EXPECT_EQ(com::SysStringsAlive(), strings_) << "automation strings left behind";
  }
  long strings_ = 0;
};

// Calls AutoPutValueV with a va_list of its own arguments.
HRESULT PutValueV(IDispatch* object, const char16_t* path, ...) {
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoPutValueV(object, path, &args);
  va_end(args);
  return hr;
}

TEST_F(AutomationTest, ArgumentsAreBuiltByTheirTypeLetters) {
  BSTR given = com::SysAllocString(u"given");
  VARIANT eleven;
  com::VariantInit(&eleven);
  eleven.vt = com::VT_I4;
  eleven.i4 = 11;
  ASSERT_EQ(AutoCallMethod(probe, u"Do(%B, %S, %s, %D, %b, %b, %d, %p, %u, %e, %o, %O, %v, %m)", given,
                           u"wide", "ansi Ü", 45537.25, 7, 0, -5, 9, 4000000000u, 1.5, probe,
                           static_cast<com::IUnknown*>(probe), &eleven),
            com::S_OK);
  EXPECT_EQ(gLog, std::vector<std::string>{"probe.Do 1 bstr:given bstr:wide bstr:ansi Ü date:45537.250000 bool:-1 "
                                           "bool:0 i4:-5 i4:9 ui4:4000000000 r8:1.5 dispatch unknown i4:11 "
                                           "error:80020004"});
  com::SysFreeString(given);

  FixedZone zone;
  gLog.clear();
  com::SYSTEMTIME st{2024, 9, 0, 2, 12, 0, 0, 0};
  const com::FILETIME ft = com::MakeFileTime(94353120000000000ull);
  ASSERT_EQ(AutoCallMethod(probe, u"Dates(%W, %f, %t)", &st, &ft, AutoTime32{0}), com::S_OK);
  EXPECT_EQ(gLog, std::vector<std::string>{"probe.Dates 1 date:45537.500000 date:0.000000 date:25569.291667"});

  // T: a wide text when the wide-T flag is set, else a UTF-8 text.
  gLog.clear();
  AutoInitialize(0, 1);
  ASSERT_EQ(AutoCallMethod(probe, u"Wide(%T)", u"lebar"), com::S_OK);
  AutoInitialize(0, 0);
  ASSERT_EQ(AutoCallMethod(probe, u"Narrow(%T)", "sempit"), com::S_OK);
  // A null wide text is a null string.
  ASSERT_EQ(AutoCallMethod(probe, u"Null(%S)", static_cast<const char16_t*>(nullptr)), com::S_OK);
  EXPECT_EQ(gLog, std::vector<std::string>({"probe.Wide 1 bstr:lebar", "probe.Narrow 1 bstr:sempit",
                                            "probe.Null 1 bstr:<null>"}));
}

TEST_F(AutomationTest, KindsAndPathsReachTheRightMembers) {
  ASSERT_EQ(AutoPutValue(probe, u".DisplayFullScreen = %b", 1), com::S_OK);
  ASSERT_EQ(AutoPutRef(probe, u"Target = %o", probe), com::S_OK);
  ASSERT_EQ(PutValueV(probe, u"Visible=%b", 0), com::S_OK);
  IDispatch* sheet = nullptr;
  ASSERT_EQ(AutoGetValue(u"%o", &sheet, probe, u"ActiveSheet"), com::S_OK);
  ASSERT_NE(sheet, nullptr);
  // The markers of all links take the arguments in the order they stand.
  ASSERT_EQ(AutoPutValue(probe, u"Item(%d).cells(%u,%u)=%s", 3, 2u, 4u, "x"), com::S_OK);
  IDispatch* book = nullptr;
  ASSERT_EQ(AutoGetValue(u"o", &book, probe, u".Workbooks.Open(%s)", "/tmp/Lap.xlt"), com::S_OK);
  VARIANT result;
  ASSERT_EQ(AutoInvoke(com::DISPATCH_PROPERTYGET, com::VT_BSTR, &result, probe, u"Number"), com::S_OK);
  EXPECT_EQ(Show(result), "bstr:42");
  com::VariantClear(&result);
  EXPECT_EQ(gLog, std::vector<std::string>({
                      "probe.DisplayFullScreen 4 =bool:-1",
                      "probe.Target 8 =dispatch",
                      "probe.Visible 4 =bool:0",
                      "probe.ActiveSheet 3",
                      "probe.Item 3 i4:3",
                      "probe.Item.cells 4 ui4:2 ui4:4 =bstr:x",
                      "probe.Workbooks 3",
                      "probe.Workbooks.Open 3 bstr:/tmp/Lap.xlt",
                      "probe.Number 2",
                  }));
  sheet->Release();
  book->Release();
  EXPECT_EQ(Record(), nullptr);
}

TEST_F(AutomationTest, ResultsAreStoredByTheirTypeLetters) {
  BSTR b = nullptr;
  ASSERT_EQ(AutoGetValue(u"%B", &b, probe, u"Text"), com::S_OK);
  EXPECT_EQ(NB(b), "Пётр Budi");
  com::SysFreeString(b);
  ASSERT_EQ(AutoGetValue(u"%S", &b, probe, u"Number"), com::S_OK);
  EXPECT_EQ(NB(b), "42");
  com::SysFreeString(b);
  char* text = nullptr;
  ASSERT_EQ(AutoGetValue(u"%s", &text, probe, u"Text"), com::S_OK);
  EXPECT_STREQ(text, "Пётр Budi");
  com::SysFreeString(reinterpret_cast<BSTR>(text));
  ASSERT_EQ(AutoGetValue(u"%s", &text, probe, u"Flag"), com::S_OK);  // booleans read as words
  EXPECT_STREQ(text, "True");
  com::SysFreeString(reinterpret_cast<BSTR>(text));

  int flag = 5;
  std::int32_t i = 0;
  std::uint32_t u = 0;
  double e = 0, date = 0;
  ASSERT_EQ(AutoGetValue(u"%b", &flag, probe, u"Number"), com::S_OK);
  EXPECT_EQ(flag, -1);
  ASSERT_EQ(AutoGetValue(u"%b", &flag, probe, u"Nothing"), com::S_OK);
  EXPECT_EQ(flag, 0);
  ASSERT_EQ(AutoGetValue(u"%d", &i, probe, u"Number"), com::S_OK);
  EXPECT_EQ(i, 42);
  ASSERT_EQ(AutoGetValue(u"%p", &i, probe, u"Flag"), com::S_OK);
  EXPECT_EQ(i, -1);
  ASSERT_EQ(AutoGetValue(u"%u", &u, probe, u"Number"), com::S_OK);
  EXPECT_EQ(u, 42u);
  ASSERT_EQ(AutoGetValue(u"%e", &e, probe, u"Number"), com::S_OK);
  EXPECT_EQ(e, 42.0);
  ASSERT_EQ(AutoGetValue(u"%D", &date, probe, u"When"), com::S_OK);
  EXPECT_EQ(date, 45537.5);
  com::SYSTEMTIME st{};
  ASSERT_EQ(AutoGetValue(u"%W", &st, probe, u"When"), com::S_OK);
  EXPECT_EQ(std::vector<int>({st.year, st.month, st.day, st.hour, st.minute}),
            std::vector<int>({2024, 9, 2, 12, 0}));
  com::FILETIME ft{};
  ASSERT_EQ(AutoGetValue(u"%f", &ft, probe, u"When"), com::S_OK);
  EXPECT_EQ(com::FileTimeValue(ft), 94353120000000000ull + 45537ull * 864000000000ull + 432000000000ull);
  {
    FixedZone zone;
    AutoTime32 t = 0;
    ASSERT_EQ(AutoGetValue(u"%t", &t, probe, u"When"), com::S_OK);
    EXPECT_EQ(t, 1725253200);  // 2024-09-02 12:00 at seven hours east of UTC
  }
  VARIANT v;
  ASSERT_EQ(AutoGetValue(u"%v", &v, probe, u"Text"), com::S_OK);  // as returned, no conversion
  EXPECT_EQ(Show(v), "bstr:Пётр Budi");
  com::VariantClear(&v);
  IDispatch* child = nullptr;
  ASSERT_EQ(AutoGetValue(u"%o", &child, probe, u"Child"), com::S_OK);
  ASSERT_NE(child, nullptr);
  child->Release();
  com::IUnknown* unknown = nullptr;
  ASSERT_EQ(AutoGetValue(u"%O", &unknown, probe, u"Child"), com::S_OK);
  ASSERT_NE(unknown, nullptr);
  unknown->Release();

  // Results that cannot be stored.
  gLog.clear();
  EXPECT_EQ(AutoGetValue(u"%o", &child, probe, u"Nothing"), com::E_NOINTERFACE);
  EXPECT_EQ(AutoGetValue(u"%d", &i, probe, u"Text"), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(gLog.size(), 2u);
  gLog.clear();
  for (const char16_t* type : {u"%m", u"%x", u"%", u""})
    EXPECT_EQ(AutoGetValue(type, &i, probe, u"Number"), kInvalidArg) << N(type);
  EXPECT_EQ(AutoGetValue(nullptr, &i, probe, u"Number"), kInvalidArg);
  EXPECT_EQ(AutoGetValue(u"%d", nullptr, probe, u"Number"), kInvalidArg);
  EXPECT_TRUE(gLog.empty());
}

TEST_F(AutomationTest, RefusedCallsReachNothing) {
  struct Case {
    const char16_t* path;
    HRESULT code;
  } cases[] = {
      {u"Do(%x)", kInvalidArg},   // a letter outside the table
      {u"Do(%)", kInvalidArg},    // a marker without letter
      {u"Do(%%)", kInvalidArg},   // no escape for "%"
      {u"", kInvalidArg},         // no member name
      {u"Unknown", com::DISP_E_UNKNOWNNAME},
  };
  for (const Case& c : cases) EXPECT_EQ(AutoCallMethod(probe, c.path), c.code) << N(c.path);
  EXPECT_EQ(AutoCallMethod(nullptr, u"Do"), kInvalidArg);
  EXPECT_EQ(AutoCallMethod(probe, nullptr), kInvalidArg);
  EXPECT_EQ(AutoCallMethodV(probe, u"Do", nullptr), kInvalidArg);
  EXPECT_EQ(AutoInvokeArray(com::DISPATCH_METHOD, nullptr, 2, probe, u"Do", nullptr), kInvalidArg);
  EXPECT_TRUE(gLog.empty());
}

TEST_F(AutomationTest, TwentyFiveMarkersAndPathsShorterThan512) {
  std::u16string path = u"Many(";
  for (int k = 0; k < 25; ++k) path += u"%d,";
  ASSERT_EQ(AutoCallMethod(probe, path.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                           21, 22, 23, 24, 25),
            com::S_OK);
  ASSERT_EQ(gLog.size(), 1u);
  EXPECT_EQ(gLog[0].substr(0, 31), "probe.Many 1 i4:1 i4:2 i4:3 i4:");
  EXPECT_NE(gLog[0].find("i4:24 i4:25"), std::string::npos);
  gLog.clear();
  path += u"%s";  // a 26th: refused before anything is called, and the texts made so far freed
  EXPECT_EQ(AutoCallMethod(probe, path.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                           21, 22, 23, 24, 25, "x"),
            kInvalidArg);
  EXPECT_TRUE(gLog.empty());
  EXPECT_EQ(N(Record()->failingLabel), "CreateArgumentArray");

  const std::u16string longest = u"Do" + std::u16string(509, u' ');  // 511 characters
  EXPECT_EQ(AutoCallMethod(probe, longest.c_str()), com::S_OK);
  EXPECT_EQ(AutoCallMethod(probe, (longest + u" ").c_str()), kInvalidArg);
  EXPECT_EQ(gLog, std::vector<std::string>{"probe.Do 1"});
}

TEST_F(AutomationTest, FailingLinkOfAPathIsObjectRequired) {
  int flag = 0;
  EXPECT_EQ(AutoGetValue(u"%b", &flag, probe, u"Nothing.Visible"), com::E_NOINTERFACE);
  EXPECT_EQ(gLog, std::vector<std::string>{"probe.Nothing 3"});
  AutoErrorRecord* r = Record();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(N(r->outermostLabel), "GetValue");
  EXPECT_EQ(N(r->failingLabel), "TraverseSubObjects");
  EXPECT_EQ(Formatted(),
            "Member:   Nothing.Visible\r\nFunction: GetValue\r\nError In: TraverseSubObjects\r\n"
            "Error:    Object required\r\nCode:     80004002\r\nSource:   Application");
  // A null object: refused at once.
  EXPECT_EQ(AutoPutValue(nullptr, u"cells(%u,%u)=%s", 1u, 1u, "x"), kInvalidArg);
  EXPECT_EQ(N(Record()->failingLabel), "InvokeV");
}

// ---- the error record -------------------------------------------------------------------------------------------

TEST_F(AutomationTest, ServerExceptionIsKeptWithLabelsMemberAndPath) {
  EXPECT_EQ(AutoPutValue(probe, u"Fail(%u,%u)=%s", 1u, 2u, "x"), com::DISP_E_EXCEPTION);
  AutoErrorRecord* r = Record();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(N(r->outermostLabel), "PutValue");
  EXPECT_EQ(N(r->failingLabel), "InvokeArray");
  EXPECT_EQ(N(r->failingMember), "Fail");
  EXPECT_EQ(N(r->memberPath), "Fail(%u,%u)=%s");
  EXPECT_EQ(r->resultCode, com::DISP_E_EXCEPTION);
  EXPECT_EQ(r->exceptionCode, 77);
  EXPECT_EQ(r->fromInvoke, 1);
  EXPECT_EQ(r->complete, 1);
  EXPECT_EQ(NB(r->source), "Probe");
  EXPECT_EQ(Formatted(1),
            "Member:   Fail(%u,%u)=%s\r\nFunction: PutValue\r\nError In: InvokeArray\r\nError:    Kaboom\r\n"
            "Code:     4d\r\nSource:   Probe");
  EXPECT_EQ(Formatted(0),
            "Member:\t  Fail(%u,%u)=%s\r\nFunction:\t  PutValue\t\t\r\nError In:\t  InvokeArray\r\n"
            "Error:\t  Kaboom\r\nCode:\t  4d\r\nSource:\t  Probe");
  EXPECT_TRUE(gBoxes.empty());  // no box while the show flag is clear

  // The next failure, after the first is complete, starts a fresh record.
  EXPECT_EQ(AutoCallMethod(probe, u"FailLine"), com::DISP_E_EXCEPTION);
  EXPECT_EQ(Formatted(1),
            "Member:   FailLine\r\nFunction: CallMethod\r\nError In: InvokeArray\r\nError:    Line\r\n"
            "Code:     80070005\r\nSource:   Probe");
  // A deferred fill-in routine fills the exception in before it is taken over.
  EXPECT_EQ(AutoCallMethod(probe, u"FailLater"), com::DISP_E_EXCEPTION);
  EXPECT_EQ(NB(Record()->description), "Filled later");
  EXPECT_EQ(Record()->exceptionCode, com::E_FAIL);
}

TEST_F(AutomationTest, DescriptionsOfTheLibrarysOwnFailures) {
  struct Case {
    HRESULT code;
    int fromInvoke;
    const char16_t* member;
    com::UINT argPosition;
    std::string error, code_, source;
  } cases[] = {
      {com::E_NOINTERFACE, 0, nullptr, 0, "Object required", "80004002", "Application"},
      {com::DISP_E_MEMBERNOTFOUND, 1, u"Foo", 0, "Object doesn't support this property or method: 'Foo'",
       "80020003", "IDispatch Interface"},
      {com::DISP_E_UNKNOWNNAME, 1, u"Bar", 0, "Object doesn't support this property or method: 'Bar'", "80020006",
       "IDispatch Interface"},
      {com::DISP_E_TYPEMISMATCH, 1, u"cells", 2, "Type mismatch: 'cells'. Argument Index: 2", "80020005",
       "IDispatch Interface"},
      {com::DISP_E_TYPEMISMATCH, 0, nullptr, 0, "Type mismatch.", "80020005", "Application"},
      {kInvalidArg, 0, nullptr, 0, "The parameter is incorrect.", "80070057", "Application"},
      {com::CO_E_CLASSSTRING, 0, nullptr, 0, "Invalid class string", "800401f3", "Application"},
      {com::Code(0x80041234), 0, nullptr, 0, "Unknown runtime error", "80041234", "Application"},
  };
  for (const Case& c : cases) {
    AutoEnter();
    EXPECT_EQ(AutoRecordError(c.code, c.fromInvoke, c.member, u"Path", nullptr, c.argPosition, u"Label"), c.code);
    EXPECT_EQ(Formatted(), "Member:   Path\r\nFunction: Label\r\nError In: Label\r\nError:    " + c.error +
                               "\r\nCode:     " + c.code_ + "\r\nSource:   " + c.source)
        << Hex(c.code);
  }
  // The description is made once and kept in the record: a second formatting uses it as it stands.
  AutoErrorRecord* r = Record();
  com::SysFreeString(r->description);
  r->description = com::SysAllocString(u"Kept\r\n");
  EXPECT_NE(Formatted().find("Error:    Kept\r\nCode:"), std::string::npos);
  EXPECT_EQ(NB(r->description), "Kept");
}

TEST_F(AutomationTest, FormattingWithoutRecordAndIntoSmallBuffers) {
  char16_t buf[64];
  EXPECT_EQ(AutoFormatError(nullptr, buf, 64, 0), com::S_OK);
  EXPECT_EQ(N(buf), "No error information available.");
  EXPECT_EQ(AutoFormatError(nullptr, buf, 10, 0), com::S_OK);
  EXPECT_EQ(N(buf), "No error ");
  EXPECT_EQ(AutoFormatError(nullptr, nullptr, 0, 0), com::S_OK);
  EXPECT_EQ(AutoFormatError(nullptr, nullptr, 5, 0), kInvalidArg);

  EXPECT_EQ(AutoCallMethod(probe, u"Fail"), com::DISP_E_EXCEPTION);
  EXPECT_EQ(AutoFormatError(nullptr, buf, 9, 1), com::S_OK);
  EXPECT_EQ(N(buf), "Member: ");
  char text[300];
  EXPECT_EQ(AutoFormatErrorA(nullptr, text, sizeof text, 1), com::S_OK);
  EXPECT_EQ(std::string(text), Formatted(1));
  EXPECT_EQ(AutoFormatErrorA(nullptr, text, 20, 1), com::HResultFromWin32(com::ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(AutoFormatErrorA(nullptr, nullptr, 20, 1), kInvalidArg);
}

TEST_F(AutomationTest, MessageBoxOptionsAndCallback) {
  static std::vector<std::string> seen;
  seen.clear();
  AutoErrorOptions options{};
  ASSERT_EQ(AutoGetErrorOptions(&options), com::S_OK);
  EXPECT_EQ(options.show, 0);
  EXPECT_EQ(options.noRecord, 0);
  EXPECT_EQ(AutoGetErrorOptions(nullptr), kInvalidArg);
  EXPECT_EQ(AutoSetErrorOptions(nullptr), kInvalidArg);
  EXPECT_EQ(AutoGetErrorRecord(nullptr), kInvalidArg);

  // The show flag: one box per failing outermost operation, laid out with tabs.
  ASSERT_EQ(AutoToggleErrors(1), com::S_OK);
  EXPECT_EQ(AutoPutValue(probe, u"Item(%d).Fail = %d", 1, 2), com::DISP_E_EXCEPTION);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].caption, "Error");
  EXPECT_EQ(gBoxes[0].style, 0x10010u);
  EXPECT_EQ(gBoxes[0].text, Formatted(0));
  EXPECT_NE(gBoxes[0].text.find("Error:\t  Kaboom"), std::string::npos);

  // Owner, caption and callback from the options; the callback runs after the box, with the record.
  options = AutoErrorOptions{42, u"Finance", 1, 0, [](AutoErrorRecord* r) { seen.push_back(N(r->outermostLabel)); }};
  ASSERT_EQ(AutoSetErrorOptions(&options), com::S_OK);
  EXPECT_EQ(AutoCallMethod(probe, u"Unknown"), com::DISP_E_UNKNOWNNAME);
  ASSERT_EQ(gBoxes.size(), 2u);
  EXPECT_EQ(gBoxes[1].owner, 42);
  EXPECT_EQ(gBoxes[1].caption, "Finance");
  EXPECT_NE(gBoxes[1].text.find("Object doesn't support this property or method: 'Unknown'"), std::string::npos);
  EXPECT_EQ(seen, std::vector<std::string>{"CallMethod"});

  // No recording: no record, no box, no callback; turning the show flag on records again.
  AutoFreeThreadRecord();
  options = AutoErrorOptions{0, nullptr, 1, 1, nullptr};
  ASSERT_EQ(AutoSetErrorOptions(&options), com::S_OK);
  EXPECT_EQ(AutoCallMethod(probe, u"Fail"), com::DISP_E_EXCEPTION);
  EXPECT_EQ(Record(), nullptr);
  EXPECT_EQ(gBoxes.size(), 2u);
  ASSERT_EQ(AutoToggleErrors(0), com::S_OK);
  ASSERT_EQ(AutoGetErrorOptions(&options), com::S_OK);
  EXPECT_EQ(options.noRecord, 1);  // clearing the show flag leaves recording off
  ASSERT_EQ(AutoToggleErrors(1), com::S_OK);
  ASSERT_EQ(AutoGetErrorOptions(&options), com::S_OK);
  EXPECT_EQ(options.noRecord, 0);
  EXPECT_EQ(AutoCallMethod(probe, u"Fail"), com::DISP_E_EXCEPTION);
  EXPECT_NE(Record(), nullptr);
  EXPECT_EQ(gBoxes.size(), 3u);
}

TEST_F(AutomationTest, EachThreadHasItsOwnRecord) {
  EXPECT_EQ(AutoCallMethod(probe, u"Unknown"), com::DISP_E_UNKNOWNNAME);
  std::string other;
  AutoErrorRecord* otherBefore = reinterpret_cast<AutoErrorRecord*>(1);
  std::thread worker([&] {
    AutoGetErrorRecord(&otherBefore);
    AutoInitialize(1, 0);
    IDispatch* p = nullptr;
    AutoCreateObject(u"Finance.Nothing", nullptr, &p);
    other = Formatted();
    AutoUninitialize(1);  // frees the thread's record
  });
  worker.join();
  EXPECT_EQ(otherBefore, nullptr);
  EXPECT_EQ(other,
            "Member:   Finance.Nothing\r\nFunction: CreateObject\r\nError In: CreateObjectEx\r\n"
            "Error:    Invalid class string\r\nCode:     800401f3\r\nSource:   Application");
  EXPECT_EQ(N(Record()->failingMember), "Unknown");
}

// ---- objects --------------------------------------------------------------------------------------------------------

TEST_F(AutomationTest, CreatingObjects) {
  IDispatch* p = nullptr;
  ASSERT_EQ(AutoCreateObject(kProbeClsidText, nullptr, &p), com::S_OK);  // by class id
  p->Release();
  EXPECT_EQ(AutoCreateObject(u"{8cd26a9b-9eb1-4e6d-86db-fc8a117164f}", nullptr, &p), com::CO_E_CLASSSTRING);
  EXPECT_EQ(AutoCreateObject(u"{00000000-0000-0000-0000-000000000001}", nullptr, &p), com::REGDB_E_CLASSNOTREG);
  EXPECT_EQ(AutoCreateObject(u"Finance.Probe", u"server2", &p), com::HResultFromWin32(com::RPC_S_SERVER_UNAVAILABLE));
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(AutoCreateObject(nullptr, nullptr, &p), kInvalidArg);
  EXPECT_EQ(AutoCreateObject(u"Finance.Probe", nullptr, nullptr), kInvalidArg);
  EXPECT_EQ(AutoCreateObjectEx(u"Finance.Probe", nullptr, 5, nullptr, reinterpret_cast<void**>(&p)), kInvalidArg);

  // Without automation started on the thread nothing can be created.
  HRESULT elsewhere = 0;
  std::thread worker([&] {
    elsewhere = AutoCreateObject(u"Finance.Probe", nullptr, &p);
    AutoFreeThreadRecord();
  });
  worker.join();
  EXPECT_EQ(elsewhere, com::CO_E_NOTINITIALIZED);
}

TEST_F(AutomationTest, AttachingToRunningAndStoredObjects) {
  ASSERT_EQ(SheetServerRegister(), com::S_OK);
  IDispatch* attached = nullptr;
  EXPECT_EQ(AutoGetObject(nullptr, u"Excel.Application", &attached), com::MK_E_UNAVAILABLE);
  IDispatch* app = nullptr;
  ASSERT_EQ(AutoCreateObject(u"Excel.Application", nullptr, &app), com::S_OK);
  ASSERT_EQ(AutoGetObject(nullptr, u"Excel.Application", &attached), com::S_OK);
  ASSERT_EQ(AutoPutValue(app, u"WindowState = %d", -4137), com::S_OK);
  std::int32_t state = 0;
  ASSERT_EQ(AutoGetValue(u"%d", &state, attached, u"WindowState"), com::S_OK);
  EXPECT_EQ(state, -4137);  // the same application
  attached->Release();
  app->Release();
  EXPECT_EQ(SheetApplicationsAlive(), 0);
  SheetServerRevoke();

  // A file with a class: the class loads the file.
  fintest::TempDir dir;
  const std::string file = dir.file("data.probe");
  fintest::WriteFile(file, "x");
  const std::u16string wide = com::Widen(file);
  ASSERT_EQ(AutoGetObject(wide.c_str(), u"Finance.Probe", &attached), com::S_OK);
  attached->Release();
  // A file only: the class registered for its extension.
  EXPECT_EQ(AutoGetObject(wide.c_str(), nullptr, &attached), com::MK_E_INVALIDEXTENSION);
  ASSERT_EQ(com::CoRegisterFileType(u".PROBE", kProbeClsid), com::S_OK);
  ASSERT_EQ(AutoGetObject(wide.c_str(), nullptr, &attached), com::S_OK);
  attached->Release();
  EXPECT_EQ(AutoGetObject(com::Widen(dir.file("missing.probe")).c_str(), nullptr, &attached), com::MK_E_CANTOPENFILE);
  com::CoRevokeFileType(u".probe");
  EXPECT_EQ(gLog, std::vector<std::string>({"probe Load " + file + " 0", "probe Load " + file + " 0"}));

  EXPECT_EQ(AutoGetObject(nullptr, nullptr, &attached), kInvalidArg);
  int reserved = 0;
  EXPECT_EQ(AutoGetObjectEx(nullptr, u"Finance.Probe", &com::IID_IDispatch, 5, &reserved,
                            reinterpret_cast<void**>(&attached)),
            kInvalidArg);
}

TEST_F(AutomationTest, WalkingACollection) {
  ASSERT_EQ(SheetServerRegister(), com::S_OK);
  IDispatch* app = nullptr;
  ASSERT_EQ(AutoCreateObject(u"Excel.Application", nullptr, &app), com::S_OK);
  IDispatch* book = nullptr;
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(AutoGetValue(u"%o", &book, app, u"Workbooks.Add"), com::S_OK);
    book->Release();
  }
  com::IEnumVARIANT* items = nullptr;
  ASSERT_EQ(AutoEnumBegin(&items, app, u"Workbooks"), com::S_OK);
  std::vector<std::string> names;
  while (AutoEnumNextObject(items, &book) == com::S_OK) {
    BSTR name = nullptr;
    EXPECT_EQ(AutoGetValue(u"%B", &name, book, u"Name"), com::S_OK);
    names.push_back(NB(name));
    com::SysFreeString(name);
    book->Release();
  }
  EXPECT_EQ(book, nullptr);
  EXPECT_EQ(names, std::vector<std::string>({"Book1", "Book2"}));
  items->Release();

  // The collection given as the object itself, read as VARIANTs.
  IDispatch* books = nullptr;
  ASSERT_EQ(AutoGetValue(u"%o", &books, app, u"Workbooks"), com::S_OK);
  ASSERT_EQ(AutoEnumBegin(&items, books, nullptr), com::S_OK);
  VARIANT item;
  EXPECT_EQ(AutoEnumNextVariant(items, &item), com::S_OK);
  EXPECT_EQ(item.vt, com::VT_DISPATCH);
  com::VariantClear(&item);
  EXPECT_EQ(AutoEnumNextVariant(items, &item), com::S_OK);
  com::VariantClear(&item);
  EXPECT_EQ(AutoEnumNextVariant(items, &item), com::S_FALSE);
  EXPECT_EQ(AutoEnumNextVariant(nullptr, &item), kInvalidArg);
  EXPECT_EQ(AutoEnumNextObject(items, nullptr), kInvalidArg);
  items->Release();
  books->Release();

  // An object that is no collection.
  EXPECT_EQ(AutoEnumBegin(&items, app, nullptr), com::DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(items, nullptr);
  EXPECT_NE(Formatted().find("Error:    Object doesn't support this property or method: '_NewEnum'"),
            std::string::npos);
  EXPECT_EQ(AutoEnumBegin(nullptr, app, nullptr), kInvalidArg);
  app->Release();
  SheetServerRevoke();
}

// ---- the spreadsheet server stand-in ----------------------------------------------------------------------------

using fintest::SheetCells;
using fintest::Unzip;

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

class SheetServerTest : public fintest::SeamsTest {
 protected:
  IDispatch* app = nullptr;

  plugintest::FakeDesktopOpener opener;

  void SetUp() override {
    ASSERT_EQ(AutoInitialize(1, 0), com::S_OK);
    ASSERT_EQ(SheetServerRegister(), com::S_OK);
    ASSERT_EQ(AutoCreateObject(u"Excel.Application", nullptr, &app), com::S_OK);
    templatePath = std::string(FIN_SOURCE_DIR) + "/resources/Lap.xlt";
  }
  void TearDown() override {
    if (app) app->Release();
    EXPECT_EQ(SheetApplicationsAlive(), 0);
    SheetServerRevoke();
    AutoUninitialize(1);
  }
  IDispatch* OpenSheet() {
    IDispatch* sheet = nullptr;
    EXPECT_EQ(AutoCallMethod(app, u"Workbooks.Open(%s)", templatePath.c_str()), com::S_OK);
    EXPECT_EQ(AutoGetValue(u"%o", &sheet, app, u"ActiveSheet"), com::S_OK);
    return sheet;
  }
  std::string templatePath;
};

TEST_F(SheetServerTest, TemplateSettings) {
  SheetTemplate look;
  std::string problem;
  ASSERT_TRUE(SheetReadTemplate(templatePath, &look, &problem)) << problem;
  EXPECT_EQ(look.sheet, "Laporan");
  EXPECT_EQ(look.font, "Arial");
  EXPECT_EQ(look.fontSize, 10);
  EXPECT_EQ(look.columnWidth, 16);
  EXPECT_TRUE(look.headerBold);
  EXPECT_TRUE(look.landscape);
  EXPECT_EQ(look.fitPagesWide, 1);
  EXPECT_EQ(look.titleRows, 1);

  fintest::WriteFile(WorkFile("other.xlt"), "PK\x03\x04 not a template of ours");
  EXPECT_FALSE(SheetReadTemplate(WorkFile("other.xlt"), &look, &problem));
  EXPECT_EQ(problem, "The file '" + WorkFile("other.xlt") + "' is not a workbook template that can be opened.");
  EXPECT_FALSE(SheetReadTemplate(WorkFile("none.xlt"), &look, &problem));
  EXPECT_EQ(problem, "The file '" + WorkFile("none.xlt") + "' could not be found.");
}

TEST_F(SheetServerTest, ValuesAreStoredAsTheServerDecides) {
  IDispatch* sheet = OpenSheet();
  ASSERT_NE(sheet, nullptr);
  struct Case {
    const char* text;
    std::string stored;
  } cases[] = {
      {"1250000", "r8:1.25e+06"}, {"-75000", "r8:-75000"}, {"12.5", "r8:12.5"},   {"0", "r8:0"},
      {"0012", "bstr:0012"},      {"-", "bstr:-"},         {"1-5", "bstr:1-5"},   {"1e5", "bstr:1e5"},
      {" 12", "bstr: 12"},        {"Siti & Ani", "bstr:Siti & Ani"},              {"", "empty"},
      {"1234567890123456", "bstr:1234567890123456"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 5u, 3u, c.text), com::S_OK) << c.text;
    VARIANT v;
    ASSERT_EQ(AutoGetValue(u"%v", &v, sheet, u"Cells(%d,%d).Value", 5, 3), com::S_OK);
    EXPECT_EQ(Show(v), c.stored) << c.text;
    com::VariantClear(&v);
  }
  // Values of other kinds keep their kind; the Text of a cell is what it shows.
  ASSERT_EQ(AutoPutValue(sheet, u"cells(%d,%d)=%d", 1, 1, 7), com::S_OK);
  ASSERT_EQ(AutoPutValue(sheet, u"cells(%d,%d).Value=%b", 1, 2, 1), com::S_OK);
  char* text = nullptr;
  ASSERT_EQ(AutoGetValue(u"%s", &text, sheet, u"Cells(%d,%d).Text", 1, 1), com::S_OK);
  EXPECT_STREQ(text, "7");
  com::SysFreeString(reinterpret_cast<BSTR>(text));
  ASSERT_EQ(AutoGetValue(u"%s", &text, sheet, u"Cells(%d,%d)", 1, 2), com::S_OK);  // the default member: Value
  EXPECT_STREQ(text, "True");
  com::SysFreeString(reinterpret_cast<BSTR>(text));
  sheet->Release();
}

TEST_F(SheetServerTest, RefusedCellIsSkippedAndTheNextWritten) {
  IDispatch* sheet = OpenSheet();
  const std::string tooLong(32768, 'x');
  EXPECT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 1u, 1u, tooLong.c_str()), com::DISP_E_EXCEPTION);
  EXPECT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 0u, 1u, "x"), com::DISP_E_EXCEPTION);
  AutoErrorRecord* r = Record();
  EXPECT_EQ(N(r->outermostLabel), "PutValue");
  EXPECT_EQ(N(r->failingLabel), "InvokeArray");
  EXPECT_EQ(N(r->failingMember), "cells");
  EXPECT_EQ(N(r->memberPath), "cells(%u,%u)=%s");
  EXPECT_EQ(Formatted(),
            "Member:   cells(%u,%u)=%s\r\nFunction: PutValue\r\nError In: InvokeArray\r\n"
            "Error:    Application-defined or object-defined error\r\nCode:     3ec\r\nSource:   Excel");
  EXPECT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 1u, 16385u, "x"), com::DISP_E_EXCEPTION);
  EXPECT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 1u, 2u, "next"), com::S_OK);
  EXPECT_EQ(AutoPutValue(sheet, u"cells(%s,%u)=%s", "abc", 2u, "x"), com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Record()->argErrorPosition, 2u);  // the row: the third argument from the end
  EXPECT_EQ(AutoPutValue(app, u"Visible = %b", 1), com::S_OK);
  sheet->Release();
  app->Release();
  app = nullptr;
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]), "sheet Laporan\nB1 s \"next\"\n");
}

TEST_F(SheetServerTest, ReleasedVisibleWritesAndOpensReleasedHiddenDoesNot) {
  IDispatch* sheet = OpenSheet();
  ASSERT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 1u, 1u, "NAMA"), com::S_OK);
  sheet->Release();
  app->Release();  // hidden: Excel would quit with it
  app = nullptr;
  EXPECT_FALSE(std::filesystem::exists(WorkFile("cetak")));
  EXPECT_EQ(opener.log(), "");

  ASSERT_EQ(AutoCreateObject(u"Excel.Application", nullptr, &app), com::S_OK);
  sheet = OpenSheet();
  ASSERT_EQ(AutoPutValue(app, u"Visible = %b", 1), com::S_OK);
  ASSERT_EQ(AutoCallMethod(app, u"Quit"), com::S_OK);  // told to quit: nothing stays to be shown
  sheet->Release();
  app->Release();
  app = nullptr;
  EXPECT_EQ(opener.log(), "");

  ASSERT_EQ(AutoCreateObject(u"Excel.Application", nullptr, &app), com::S_OK);
  ASSERT_EQ(AutoPutValue(app, u"Visible = %b", 1), com::S_OK);  // visible without a workbook: nothing to write
  app->Release();
  app = nullptr;
  EXPECT_EQ(opener.log(), "");
}

TEST_F(SheetServerTest, SaveAsTemplateWritesTheWorkbook) {
  gXlsApplication = app;
  app = nullptr;
  IDispatch* sheet = nullptr;
  ASSERT_EQ(AutoCallMethod(gXlsApplication, u"Workbooks.Open(%s)", templatePath.c_str()), com::S_OK);
  ASSERT_EQ(AutoGetValue(u"%o", &sheet, gXlsApplication, u"ActiveSheet"), com::S_OK);
  ASSERT_EQ(AutoPutValue(sheet, u"cells(%u,%u)=%s", 2u, 2u, "-750000"), com::S_OK);
  sheet->Release();
  int saved = 0;
  ASSERT_EQ(AutoGetValue(u"%b", &saved, gXlsApplication, u"ActiveWorkbook.Saved"), com::S_OK);
  EXPECT_EQ(saved, 0);
  // ".ActiveWorkbook.Save" is written as a property put: the server does not take a put on a method.
  EXPECT_EQ(XlsSaveAsTemplate(WorkFile("Saved.xlt")), com::DISP_E_PARAMNOTFOUND);
  ASSERT_EQ(AutoGetValue(u"%b", &saved, gXlsApplication, u"ActiveWorkbook.Saved"), com::S_OK);
  EXPECT_EQ(saved, -1);
  EXPECT_EQ(SheetCells(WorkFile("Saved.xlt")), "sheet Laporan\nB2 n -750000\n");
  gXlsApplication->Release();
  gXlsApplication = nullptr;
}

// ---- the plug-in's steps, on a probe standing in for the application ---------------------------------------------

class WorkbookStepsTest : public fintest::SeamsTest {
 protected:
  plugintest::FakeDesktopOpener opener;

  void SetUp() override {
    gLog.clear();
    gBoxes.clear();
    com::SetMessageBoxHandler(&RecordBox);
  }
  void TearDown() override {
    com::SetMessageBoxHandler(nullptr);
    com::CoRevokeClass(kAppProbeClsid);
    SheetServerRevoke();
    AutoErrorOptions none{};
    AutoSetErrorOptions(&none);
    AutoInitialize(0, 0);
    EXPECT_EQ(gProbesAlive, 0);
    EXPECT_EQ(SheetApplicationsAlive(), 0);
  }
  // What loading the library and one sData call do, with the probe registered as the application.
  std::vector<std::string> Export(const char* rowList) {
    RegisterClass(kAppProbeClsid, u"Excel.Application", &CreateAppProbe);
    gLog.clear();
    XlsModuleInit();
    EXPECT_STREQ(XlsExport(programDir(), 3, 4, reinterpret_cast<std::intptr_t>(rowList)), "0");
    com::CoRevokeClass(kAppProbeClsid);
    return gLog;
  }
  std::vector<std::string> Opening() {
    const std::string path = "bstr:" + programDir() + "/Lap.xlt";
    return {"app.Workbooks 3", "app.Workbooks.Open 3 " + path, "app.DisplayFullScreen 4 =bool:-1",
            "app.Visible 4 =bool:-1", "app.ActiveSheet 3"};
  }
  static std::string Cell(unsigned row, unsigned column, const std::string& text) {
    return "app.ActiveSheet.cells 4 ui4:" + std::to_string(row) + " ui4:" + std::to_string(column) + " =bstr:" + text;
  }
};

TEST_F(WorkbookStepsTest, CallsInOrderCaptionLineFirst) {
  std::vector<std::string> expected = Opening();
  for (const auto& c : {Cell(1, 1, "NIS"), Cell(1, 2, "NAMA"), Cell(1, 3, "TAGIHAN"), Cell(2, 1, "0012"),
                        Cell(2, 2, "Budi Santoso"), Cell(2, 3, "1250000"), Cell(3, 1, "0013"), Cell(3, 2, ""),
                        Cell(3, 3, "-")})
    expected.push_back(c);
  EXPECT_EQ(Export("NIS,NAMA,TAGIHAN;0012,Budi Santoso,1250000;0013,,-"), expected);
  // After the call: no references held, automation ended on the thread, its record freed, boxes off.
  EXPECT_EQ(gXlsApplication, nullptr);
  EXPECT_EQ(gXlsWorkbook, nullptr);
  EXPECT_EQ(gXlsSheet, nullptr);
  EXPECT_EQ(Record(), nullptr);
  EXPECT_FALSE(XlsAutomationRunning());
  AutoErrorOptions options{};
  AutoGetErrorOptions(&options);
  EXPECT_EQ(options.show, 0);
  EXPECT_EQ(com::CoInitialize(nullptr), com::S_OK);  // the thread's first start-up again
  com::CoUninitialize();
  EXPECT_TRUE(gBoxes.empty());
}

TEST_F(WorkbookStepsTest, EachExportStartsAutomationWhenItIsNotRunning) {
  // Loading starts automation once; the first export ends it. The next export of the same load starts it again and
  // makes the same calls, where it used to find automation ended and reach nothing.
  RegisterClass(kAppProbeClsid, u"Excel.Application", &CreateAppProbe);
  XlsModuleInit();
  std::vector<std::string> expected = Opening();
  expected.push_back(Cell(1, 1, "NAMA"));
  expected.push_back(Cell(2, 1, "Budi"));
  for (int k = 0; k < 2; ++k) {
    gLog.clear();
    EXPECT_STREQ(XlsExport(programDir(), 1, 1, reinterpret_cast<std::intptr_t>("NAMA;Budi")), "0");
    EXPECT_EQ(gLog, expected) << "export " << k + 1;
    EXPECT_FALSE(XlsAutomationRunning());
  }
  EXPECT_EQ(com::CoInitialize(nullptr), com::S_OK);  // each export ended what it started
  com::CoUninitialize();
  EXPECT_TRUE(gBoxes.empty());
}

TEST_F(WorkbookStepsTest, NoCellIsInventedAtTheEnd) {
  struct Case {
    const char* rowList;
    std::vector<std::string> cells;
  } cases[] = {
      // a list without rows: its caption line only
      {"NIS,NAMA", {Cell(1, 1, "NIS"), Cell(1, 2, "NAMA")}},
      // one column: one cell per line
      {"NAMA;Budi;Siti", {Cell(1, 1, "NAMA"), Cell(2, 1, "Budi"), Cell(3, 1, "Siti")}},
      // a last line of one cell, an empty line in the middle
      {"A,B;1,x;;2", {Cell(1, 1, "A"), Cell(1, 2, "B"), Cell(2, 1, "1"), Cell(2, 2, "x"), Cell(4, 1, "2")}},
      // nothing at all
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected = Opening();
    expected.insert(expected.end(), c.cells.begin(), c.cells.end());
    EXPECT_EQ(Export(c.rowList), expected) << c.rowList;
  }
  std::vector<std::string> expected = Opening();
  EXPECT_EQ(Export(nullptr), expected);
}

TEST_F(WorkbookStepsTest, ApplicationThatCannotBeStarted) {
  // No class under the ProgID: the application stays null and every later step fails at once.
  XlsModuleInit();
  EXPECT_EQ(XlsOpenWorkbook(programDir() + "/Lap.xlt"), com::CO_E_CLASSSTRING);
  EXPECT_EQ(gXlsApplication, nullptr);
  EXPECT_EQ(gXlsWorkbook, nullptr);
  EXPECT_EQ(gXlsSheet, nullptr);
  EXPECT_EQ(AutoPutValue(gXlsSheet, u"cells(%u,%u)=%s", 1u, 1u, "x"), kInvalidArg);
  XlsRelease();
  // The export itself tells the operator.
  EXPECT_STREQ(XlsExport(programDir(), 1, 1, reinterpret_cast<std::intptr_t>("A;1")), "0");
  EXPECT_TRUE(gLog.empty());
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text, "Excel tidak dapat dijalankan, data tidak dapat diexport..");
  EXPECT_EQ(gBoxes[0].caption, "Info");
  EXPECT_EQ(gBoxes[0].style, 0x40u);
}

TEST_F(WorkbookStepsTest, MissingTemplateShowsAnEmptyApplication) {
  // The stand-in itself: the template is not there, so no workbook opens and no sheet is active; the application is
  // still made visible full screen, and with nothing open nothing is written.
  ASSERT_EQ(SheetServerRegister(), com::S_OK);
  XlsModuleInit();
  EXPECT_EQ(XlsOpenWorkbook(programDir() + "/Lap.xlt"), com::DISP_E_EXCEPTION);
  ASSERT_NE(gXlsApplication, nullptr);
  EXPECT_EQ(gXlsWorkbook, nullptr);
  EXPECT_EQ(gXlsSheet, nullptr);
  int on = 0;
  EXPECT_EQ(AutoGetValue(u"%b", &on, gXlsApplication, u"DisplayFullScreen"), com::S_OK);
  EXPECT_EQ(on, -1);
  EXPECT_EQ(AutoGetValue(u"%b", &on, gXlsApplication, u"Visible"), com::S_OK);
  EXPECT_EQ(on, -1);
  XlsRelease();
  EXPECT_FALSE(std::filesystem::exists(WorkFile("cetak")));
  EXPECT_EQ(opener.log(), "");
}

// ---- the built plug-in, copied into the program folder and loaded from there -------------------------------------

using SDataFn = const char* (*)(intptr_t, intptr_t, intptr_t);

// The message boxes shown while the object lives, each read ("caption|text|icon") and closed with its OK button.
class BoxWatch {
 public:
  BoxWatch() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || !box->isVisible()) continue;
        seen.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString() + "|" +
                       (box->icon() == QMessageBox::Information ? "information" : "other"));
        box->button(QMessageBox::Ok)->click();
      }
    });
    timer_.start();
  }
  std::vector<std::string> seen;

 private:
  QTimer timer_;
};

// The page set-up of a written workbook: orientation, fitting, print titles.
std::string PageSetup(const std::string& xlsx) {
  std::string out;
  QXmlStreamReader sheet(QString::fromStdString(Unzip(xlsx, "xl/worksheets/sheet1.xml")));
  while (!sheet.atEnd()) {
    sheet.readNext();
    if (!sheet.isStartElement()) continue;
    const auto a = sheet.attributes();
    if (sheet.name() == QStringLiteral("pageSetUpPr")) {
      out += "fitToPage=" + a.value("fitToPage").toString().toStdString() + " ";
    } else if (sheet.name() == QStringLiteral("pageSetup")) {
      out += "orientation=" + a.value("orientation").toString().toStdString();
      out += " fitToWidth=" + (a.hasAttribute("fitToWidth") ? a.value("fitToWidth").toString().toStdString() : "1");
      out += " fitToHeight=" + (a.hasAttribute("fitToHeight") ? a.value("fitToHeight").toString().toStdString() : "1");
    }
  }
  QXmlStreamReader book(QString::fromStdString(Unzip(xlsx, "xl/workbook.xml")));
  while (!book.atEnd()) {
    book.readNext();
    if (book.isStartElement() && book.name() == QStringLiteral("definedName")) {
      const std::string name = book.attributes().value("name").toString().toStdString();
      out += " " + name + "=" + book.readElementText().toStdString();
    }
  }
  return out;
}

class TableSheetPluginTest : public fintest::SeamsTest {
 protected:
  plugintest::FakeDesktopOpener opener;

  void SetUp() override {
    plugintest::InstallPlugin("libtablesheet.so", programDir(), "libtablesheet.so");
    plugintest::InstallPlugin("Lap.xlt", programDir(), "Lap.xlt");
  }
  // Loads the plug-in from the program folder, calls sData once for each list and unloads it, as Finance does (one
  // list per load); returns the text the last call gave.
  std::string Export(std::vector<const char*> rowLists) {
    const std::string path = ProgramFile("libtablesheet.so");
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(lib, nullptr) << dlerror();
    if (!lib) return {};
    auto sData = reinterpret_cast<SDataFn>(dlsym(lib, "sData"));
    EXPECT_NE(sData, nullptr);
    std::string answer;
    for (const char* rowList : rowLists)
      answer = sData ? sData(0, 0, reinterpret_cast<intptr_t>(rowList)) : "";
    dlclose(lib);
    void* still = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(still, nullptr) << "the plug-in stayed loaded";
    if (still) dlclose(still);
    return answer;
  }
  std::string Export(const char* rowList) { return Export(std::vector<const char*>{rowList}); }
  std::string Expected(const std::string& name) {
    return fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/tests/plugins/expected/" + name);
  }
  std::string Lines(const std::vector<std::string>& paths) {
    std::string out;
    for (const auto& p : paths) out += p + "\n";
    return out;
  }
};

const char kSmallRows[] =
    "NIS,NAMA,KELAS,TAGIHAN;0012,Budi Santoso,VII-A,1250000;0013,Siti & Ani,,-75000;9001, Rudi,Rp 5.000,1-5";

TEST_F(TableSheetPluginTest, WritesTheWorkbookAndOpensIt) {
  EXPECT_EQ(Export(kSmallRows), "0");
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(std::filesystem::path(files[0]).filename().string().substr(0, 5), "Lap1_");
  EXPECT_EQ(std::filesystem::path(files[0]).extension(), ".xlsx");
  EXPECT_EQ(SheetCells(files[0]), Expected("lap_small_cells.txt"));
  EXPECT_EQ(opener.log(), files[0] + "\n");
  // The template is read, never written.
  EXPECT_EQ(fintest::ReadFile(ProgramFile("Lap.xlt")), fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/resources/Lap.xlt"));
}

TEST_F(TableSheetPluginTest, WorkbookPrintsLandscapeOnePageWideWithTheCaptionRowOnEveryPage) {
  // 200 rows, one of them with a long note: all columns across one landscape page, as many pages down as the rows
  // need, and the caption row printed again at the top of each.
  std::string rows = "NIS,NAMA,KELAS,TAGIHAN,KETERANGAN";
  for (int r = 1; r <= 200; ++r)
    rows += ";" + std::to_string(1000 + r) + ",Siswa " + std::to_string(r) + ",VII-A,1250000," +
            (r == 120 ? std::string(400, 'x') : std::string("lunas"));
  EXPECT_EQ(Export(rows.c_str()), "0");
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(PageSetup(files[0]),
            "fitToPage=1 orientation=landscape fitToWidth=1 fitToHeight=0 _xlnm.Print_Titles=Laporan!$1:$1");
  const std::string cells = SheetCells(files[0]);
  EXPECT_NE(cells.find("E121 s \"" + std::string(400, 'x') + "\"\n"), std::string::npos);
  EXPECT_NE(cells.find("D201 n 1250000\n"), std::string::npos);
}

TEST_F(TableSheetPluginTest, SecondExportIsANewWorkbook) {
  EXPECT_EQ(Export("A;pertama"), "0");
  EXPECT_EQ(Export("A;kedua"), "0");
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 2u);
  std::vector<std::string> cells = {SheetCells(files[0]), SheetCells(files[1])};
  std::sort(cells.begin(), cells.end());
  EXPECT_EQ(cells, std::vector<std::string>({"sheet Laporan\nA1 s \"A\"\nA2 s \"kedua\"\n",
                                             "sheet Laporan\nA1 s \"A\"\nA2 s \"pertama\"\n"}));
  EXPECT_EQ(opener.log(), files[0] + "\n" + files[1] + "\n");
}

TEST_F(TableSheetPluginTest, SecondExportInOneLoadWritesItsWorkbookToo) {
  EXPECT_EQ(Export({"A;pertama", "A;kedua"}), "0");
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 2u);
  std::vector<std::string> cells = {SheetCells(files[0]), SheetCells(files[1])};
  std::sort(cells.begin(), cells.end());
  EXPECT_EQ(cells, std::vector<std::string>({"sheet Laporan\nA1 s \"A\"\nA2 s \"kedua\"\n",
                                             "sheet Laporan\nA1 s \"A\"\nA2 s \"pertama\"\n"}));
  EXPECT_EQ(opener.log(), Lines(files));
}

TEST_F(TableSheetPluginTest, TemplateThatCannotBeReadIsReported) {
  // Each time: the operator is told, nothing is written and nothing opened. (A missing template used to pass in
  // silence as well.)
  const std::string binary = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
  const std::string zipped = std::string("PK\x03\x04\x14\x00\x06\x00", 8) + "[Content_Types].xml";
  struct Case {
    const char* what;
    std::optional<std::string> contents;  // none: no file at all
  } cases[] = {{"empty", std::string()}, {"binary", binary}, {"zipped", zipped}, {"missing", std::nullopt}};
  for (const Case& c : cases) {
    std::filesystem::remove(ProgramFile("Lap.xlt"));
    if (c.contents) fintest::WriteFile(ProgramFile("Lap.xlt"), *c.contents);
    BoxWatch boxes;
    EXPECT_EQ(Export(kSmallRows), "0") << c.what;
    EXPECT_EQ(boxes.seen, std::vector<std::string>{"Info|Template " + ProgramFile("Lap.xlt") +
                                                   " tidak dapat dibaca, data tidak dapat diexport..|information"})
        << c.what;
    EXPECT_FALSE(std::filesystem::exists(WorkFile("cetak"))) << c.what;
  }
  EXPECT_EQ(opener.log(), "");
}

TEST_F(TableSheetPluginTest, ByteOrderMarkBeforeTheTemplatesFirstLineIsIgnored) {
  fintest::WriteFile(ProgramFile("Lap.xlt"),
                     "\xEF\xBB\xBF" + fintest::ReadFile(std::string(FIN_SOURCE_DIR) + "/resources/Lap.xlt"));
  BoxWatch boxes;
  EXPECT_EQ(Export(kSmallRows), "0");
  EXPECT_TRUE(boxes.seen.empty());
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]), Expected("lap_small_cells.txt"));
  EXPECT_EQ(PageSetup(files[0]),
            "fitToPage=1 orientation=landscape fitToWidth=1 fitToHeight=0 _xlnm.Print_Titles=Laporan!$1:$1");
  EXPECT_EQ(opener.log(), files[0] + "\n");
}

TEST_F(TableSheetPluginTest, OutputFolderThatCannotBeMadeIsReported) {
  fintest::WriteFile(WorkFile("cetak"), "a file where the folder should be");
  BoxWatch boxes;
  EXPECT_EQ(Export(kSmallRows), "0");
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Info|Folder " + WorkFile("cetak") +
                                                 " tidak dapat dibuat, workbook tidak dapat disimpan..|information"});
  EXPECT_EQ(fintest::ReadFile(WorkFile("cetak")), "a file where the folder should be");
  EXPECT_EQ(opener.log(), "");
}

TEST_F(TableSheetPluginTest, AWorkbookNoProgramCanOpenIsToldOf) {
  BoxWatch boxes;
  {
    plugintest::NoDesktopOpener none;
    EXPECT_EQ(Export(kSmallRows), "0");
  }
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]), Expected("lap_small_cells.txt"));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Info|Tidak ada program yang dapat dijalankan untuk membuka " +
                                                 files[0] + "..|information"});
}

TEST_F(TableSheetPluginTest, TheExportReturnsWhileTheWorkbooksProgramStillRuns) {
  plugintest::LingeringOpener lingering;
  BoxWatch boxes;
  EXPECT_EQ(Export(kSmallRows), "0");
  const pid_t pid = lingering.WaitUntilRunning();
  ASSERT_GT(pid, 0) << "the opener never ran";
  EXPECT_NE(plugintest::FakeDesktopOpener::ParentOf(pid), 0) << "the export waited for the opener";
  EXPECT_TRUE(boxes.seen.empty());
  lingering.End();
  EXPECT_EQ(plugintest::ZombieChildren(), std::vector<pid_t>{});
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(fintest::ReadFile(lingering.dir().file("opened.log")), files[0] + "\n");
}

// ---- a process that ends with the plug-in still loaded ------------------------------------------------------------

std::string Spawned(const std::vector<std::string>& args, const std::string& errors, int* status) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  *status = -1;
  if (rc == 0) waitpid(pid, status, 0);
  return fintest::ReadFile(errors);
}

TEST(TableSheetAtProcessEnd, ExitingWithThePluginStillLoadedEndsCleanly) {
  // The probe program loads the plug-in (both built with AddressSanitizer where the compiler has it), exports, and
  // returns from main without unloading it: the plug-in's clean-up then runs at the process's end, where its class
  // table used to be gone already.
  fintest::TempDir program, work, scratch;
  plugintest::FakeDesktopOpener opener;
  plugintest::InstallPlugin("tests/plugins/checked/libtablesheet.so", program.str(), "libtablesheet.so");
  plugintest::InstallPlugin("Lap.xlt", program.str(), "Lap.xlt");
  int status = 0;
  const std::string errors =
      Spawned({std::string(FIN_BINARY_DIR) + "/tests/plugins/tablesheet_exit_probe", program.file("libtablesheet.so"),
               work.str()},
              scratch.file("errors.txt"), &status);
  EXPECT_TRUE(WIFEXITED(status)) << errors;
  EXPECT_EQ(WEXITSTATUS(status), 0) << errors;
  EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
  const auto files = Files(work.file("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]), "sheet Laporan\nA1 s \"NIS\"\nB1 s \"NAMA\"\nA2 s \"0012\"\nB2 s \"Budi Santoso\"\n");
  EXPECT_EQ(opener.log(), files[0] + "\n");
}

// ---- FinExportToSheet from a list view, end to end ---------------------------------------------------------------

class SheetExportTest : public TableSheetPluginTest {};

TEST_F(SheetExportTest, ListViewToWorkbook) {
  Hwnd list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 400, 200, 0, 77);
  ASSERT_NE(list, 0);
  LvInsertColumn(list, 0, "NIS", LVCFMT_LEFT, 60);
  LvInsertColumn(list, 1, "NAMA", LVCFMT_LEFT, 120);
  LvInsertColumn(list, 2, "KELAS", LVCFMT_CENTER, 60);
  LvInsertColumn(list, 3, "TAGIHAN", LVCFMT_RIGHT, 80);
  const std::vector<std::vector<std::string>> rows = {{"0012", "Budi Santoso", "VII-A", "1.250.000"},
                                                      {"0013", "Siti & Ani", "", "-75.000"},
                                                      {"9001", " Rudi", "Rp 5.000", "1,5"}};
  for (const auto& cells : rows) {
    int row = LvInsertItem(list, LvGetItemCount(list), 0, cells[0], 0, 0);
    for (std::size_t c = 1; c < cells.size(); ++c) LvSetItemText(list, row, static_cast<int>(c), cells[c]);
  }
  gTargetListView = list;
  FinExportToSheet();
  gTargetListView = 0;
  WinDestroyWindow(list);

  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]), Expected("lap_small_cells.txt"));
  EXPECT_EQ(opener.log(), files[0] + "\n");
  void* still = dlopen(ProgramFile("libtablesheet.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still, nullptr);
  if (still) dlclose(still);
}

TEST_F(SheetExportTest, TextsKeepTheirDotsAmountsArriveAsNumbers) {
  Hwnd list = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 400, 200, 0, 77);
  ASSERT_NE(list, 0);
  LvInsertColumn(list, 0, "URAIAN", LVCFMT_LEFT, 120);
  LvInsertColumn(list, 1, "JUMLAH", LVCFMT_RIGHT, 80);
  const std::vector<std::vector<std::string>> rows = {{"Potongan 2.5%", "-75.000"},
                                                      {"Jl. Merdeka No. 5", "1.250.000"},
                                                      {"Rp 5.000", "999"}};
  for (const auto& cells : rows) {
    int row = LvInsertItem(list, LvGetItemCount(list), 0, cells[0], 0, 0);
    LvSetItemText(list, row, 1, cells[1]);
  }
  gTargetListView = list;
  FinExportToSheet();
  gTargetListView = 0;
  WinDestroyWindow(list);
  const auto files = Files(WorkFile("cetak"));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(SheetCells(files[0]),
            "sheet Laporan\nA1 s \"URAIAN\"\nB1 s \"JUMLAH\"\nA2 s \"Potongan 2.5%\"\nB2 n -75000\n"
            "A3 s \"Jl. Merdeka No. 5\"\nB3 n 1250000\nA4 s \"Rp 5.000\"\nB4 n 999\n");
}

}  // namespace
