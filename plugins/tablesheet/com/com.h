// A small COM-like substrate of our own, enough for the workbook plug-in's automation library and the spreadsheet
// server stand-in: result codes, wide texts (char16_t) and automation strings (BSTR), VARIANTs, the IUnknown /
// IDispatch / IClassFactory / IEnumVARIANT / IPersistFile interfaces, a class table keyed by class id and ProgID (our
// stand-in for the system's registry of automation servers), a table of running objects, and the few system
// services the automation library relies on: the calling thread's last error, text conversion between the system
// code page (UTF-8 here) and wide texts, calendar times, system message texts and an error message box.
//
// Everything lives in namespace com. Servers and clients in one process talk through these interfaces directly;
// there are no apartments, proxies or remote machines.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace com {

// ---- basic types --------------------------------------------------------------------------------------------------

using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
using BOOL = int;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DATE = double;  // days since 30 December 1899 00:00
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// An automation string: wide characters preceded by their length in bytes (4 bytes) and followed by a zero
// character. Made by the SysAlloc... routines, freed with SysFreeString; a null BSTR reads as an empty text.
using BSTR = OLECHAR*;

constexpr HRESULT Code(std::uint32_t value) { return static_cast<HRESULT>(value); }
constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// ---- result codes -------------------------------------------------------------------------------------------------

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = Code(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = Code(0x80004002);
inline constexpr HRESULT E_POINTER = Code(0x80004003);
inline constexpr HRESULT E_ABORT = Code(0x80004004);
inline constexpr HRESULT E_FAIL = Code(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = Code(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = Code(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = Code(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = Code(0x80070057);
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = Code(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = Code(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = Code(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = Code(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = Code(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = Code(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = Code(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = Code(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = Code(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = Code(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = Code(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = Code(0x8002000F);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = Code(0x80040110);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = Code(0x80040154);
inline constexpr HRESULT MK_E_UNAVAILABLE = Code(0x800401E3);
inline constexpr HRESULT MK_E_SYNTAX = Code(0x800401E4);
inline constexpr HRESULT MK_E_INVALIDEXTENSION = Code(0x800401E6);
inline constexpr HRESULT MK_E_CANTOPENFILE = Code(0x800401EA);
inline constexpr HRESULT CO_E_NOTINITIALIZED = Code(0x800401F0);
inline constexpr HRESULT CO_E_CLASSSTRING = Code(0x800401F3);

// System error codes (the calling thread's last error).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
inline constexpr DWORD RPC_S_SERVER_UNAVAILABLE = 1722;

// A system error folded into a result code: 0x80070000 or-ed with its low 16 bits; success for 0.
constexpr HRESULT HResultFromWin32(DWORD error) {
  return error == 0 ? S_OK : Code(0x80070000u | (error & 0xFFFFu));
}

// ---- class and interface ids --------------------------------------------------------------------------------------

struct GUID {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};
using IID = GUID;
using CLSID = GUID;
bool operator==(const GUID& a, const GUID& b);
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

extern const IID IID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IClassFactory;
extern const IID IID_IEnumVARIANT;
extern const IID IID_IPersistFile;

// ---- automation strings -------------------------------------------------------------------------------------------

// A new automation string holding the zero-terminated `text` (null for a null text); null when out of memory.
BSTR SysAllocString(LPCOLESTR text);
// A new automation string of `length` characters, copied from `text` when given, else zero-filled.
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
// A new automation string of `bytes` bytes (a byte text, followed by a zero character), copied from `text` when given.
BSTR SysAllocStringByteLen(const char* text, UINT bytes);
void SysFreeString(BSTR text);  // a null string is fine
UINT SysStringLen(BSTR text);   // characters; 0 for null
UINT SysStringByteLen(BSTR text);
// Automation strings alive in this module now (made and not yet freed): for leak checks in tests.
long SysStringsAlive();

// ---- VARIANTs -----------------------------------------------------------------------------------------------------

enum : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_BYREF = 0x4000,
};
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
// Flags of VariantChangeType: a boolean becomes the text "True" or "False" (not "-1" or "0").
inline constexpr WORD VARIANT_ALPHABOOL = 0x2;
inline constexpr WORD VARIANT_LOCALBOOL = 0x10;

struct IUnknown;
struct IDispatch;

// A typed value of 16 bytes: the type, three reserved words and the value.
struct VARIANT {
  VARTYPE vt;
  WORD reserved1;
  WORD reserved2;
  WORD reserved3;
  union {
    std::int8_t i1;
    std::uint8_t ui1;
    std::int16_t i2;
    std::uint16_t ui2;
    std::int32_t i4;
    std::uint32_t ui4;
    std::int64_t i8;
    std::uint64_t ui8;
    float r4;
    double r8;
    VARIANT_BOOL boolean;
    SCODE scode;
    DATE date;
    BSTR bstr;
    IUnknown* unknown;
    IDispatch* dispatch;
    void* byref;
  };
};
static_assert(sizeof(VARIANT) == 16, "a VARIANT is 16 bytes");

void VariantInit(VARIANT* v);
// Frees what the VARIANT owns (its automation string, its reference on an object) and leaves it empty.
HRESULT VariantClear(VARIANT* v);
// A deep copy into `dest` (cleared first): strings copied, objects referenced again.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);
// `source` converted to type `vt` into `dest` (the two may be the same VARIANT). Numbers are read and written
// without regard to the user's locale ("." decimal point); dates as "yyyy-mm-dd" with " hh:mm:ss" when the time is
// not midnight; an object gives its default value (member 0). DISP_E_TYPEMISMATCH for a conversion that does not
// exist, DISP_E_OVERFLOW for a value out of the target's range; `dest` is left as it was on failure.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, WORD flags, VARTYPE vt);

// ---- interfaces ---------------------------------------------------------------------------------------------------

struct IUnknown {
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

inline constexpr WORD DISPATCH_METHOD = 1;
inline constexpr WORD DISPATCH_PROPERTYGET = 2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 8;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;
inline constexpr LCID LOCALE_USER_DEFAULT = 1024;

// The arguments of one Invoke: `args` holds them last first; a property put names its value (args[0]) with the
// named argument DISPID_PROPERTYPUT.
struct DISPPARAMS {
  VARIANT* args;
  DISPID* namedArgs;
  UINT argCount;
  UINT namedArgCount;
};

// What a server reports with DISP_E_EXCEPTION. The strings belong to whoever receives the record.
struct EXCEPINFO {
  WORD code;  // the server's own error number, or 0 when `scode` holds the code
  WORD reserved;
  BSTR source;
  BSTR description;
  BSTR helpFile;
  DWORD helpContext;
  void* reserved2;
  HRESULT (*deferredFillIn)(EXCEPINFO*);  // when set, fills the record in on demand
  SCODE scode;
};

struct IDispatch : IUnknown {
  virtual HRESULT GetIDsOfNames(const IID& iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, const IID& iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argError) = 0;
};

struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

struct IEnumVARIANT : IUnknown {
  // Up to `count` items into `items`; S_FALSE when fewer were left.
  virtual HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumVARIANT** copy) = 0;
};

struct IPersistFile : IUnknown {
  virtual HRESULT Load(LPCOLESTR fileName, DWORD mode) = 0;
  virtual HRESULT Save(LPCOLESTR fileName, BOOL remember) = 0;
};

// ---- start-up, classes and objects --------------------------------------------------------------------------------

inline constexpr DWORD CLSCTX_INPROC_SERVER = 1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 16;

// The machine a remote object is wanted on.
struct COSERVERINFO {
  DWORD reserved1;
  LPCOLESTR name;
  void* authInfo;
  DWORD reserved2;
};

// Per thread: S_OK for the first call, S_FALSE for a nested one; each call wants one CoUninitialize.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// The class table. A class is registered with its class id, its ProgID (may be null), the contexts it serves in and
// its class object; the table holds a reference on the factory until the class is revoked.
HRESULT CoRegisterClass(const CLSID& clsid, LPCOLESTR progId, DWORD contexts, IClassFactory* factory);
HRESULT CoRevokeClass(const CLSID& clsid);
// Files whose name ends in `extension` (".xyz", compared without regard to case) are opened by class `clsid`.
HRESULT CoRegisterFileType(LPCOLESTR extension, const CLSID& clsid);
HRESULT CoRevokeFileType(LPCOLESTR extension);

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);  // CO_E_CLASSSTRING for an unknown ProgID
// Reads "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (hexadecimal digits of either case); CO_E_CLASSSTRING otherwise.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
// Writes the braced form (upper-case digits) and its terminator; returns the characters written, 0 when it does not fit.
int StringFromGUID2(const GUID& guid, LPOLESTR buffer, int size);

HRESULT CoGetClassObject(const CLSID& clsid, DWORD contexts, COSERVERINFO* server, const IID& iid, void** object);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD contexts, const IID& iid, void** object);

// Running objects: a server announces an object of class `clsid`; GetActiveObject hands out a new reference on it.
// The table holds no reference of its own: an object revokes its entry before it goes.
HRESULT RegisterActiveObject(IUnknown* object, const CLSID& clsid, DWORD flags, DWORD* cookie);
HRESULT RevokeActiveObject(DWORD cookie, void* reserved);
HRESULT GetActiveObject(const CLSID& clsid, void* reserved, IUnknown** object);

// Binds a file name to an object: the class registered for the file's extension is created, loads the file through
// IPersistFile and is asked for `iid`.
HRESULT CoGetObject(LPCOLESTR name, void* bindOptions, const IID& iid, void** object);

// ---- system services ----------------------------------------------------------------------------------------------

DWORD GetLastError();
void SetLastError(DWORD error);

// The system code page is UTF-8. Both code pages read and write UTF-8; invalid input becomes U+FFFD unless the
// flag asks for failure (ERROR_NO_UNICODE_TRANSLATION). A length of -1 includes the terminator. With an output size of
// 0 the routines return the size needed; a buffer that is too small fails with ERROR_INSUFFICIENT_BUFFER.
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int bytes, LPOLESTR wide, int wideSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCOLESTR wide, int chars, char* text, int textSize,
                        const char* defaultChar, BOOL* usedDefault);

// Convenience over the two: UTF-8 and wide texts (invalid input becomes U+FFFD).
std::u16string Widen(const std::string& text);
std::string Narrow(const std::u16string& text);
std::size_t WideLength(LPCOLESTR text);  // characters before the terminator; 0 for null

// Calendar time, counted in 100-ns units from 1 January 1601 (UTC).
struct FILETIME {
  DWORD lowDateTime;
  DWORD highDateTime;
};
inline std::uint64_t FileTimeValue(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.highDateTime) << 32) | ft.lowDateTime;
}
inline FILETIME MakeFileTime(std::uint64_t value) {
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}
struct SYSTEMTIME {
  WORD year;
  WORD month;
  WORD dayOfWeek;  // 0 Sunday; written by FileTimeToSystemTime, not read
  WORD day;
  WORD hour;
  WORD minute;
  WORD second;
  WORD milliseconds;
};
// Both fail (FALSE, last error ERROR_INVALID_PARAMETER) for values they cannot represent: a FILETIME of 2^63 or more;
// a SYSTEMTIME outside the years 1601 to 30827 or with a field out of range.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);

// The system's message text for a system error or result code, each ending in CR LF. Only FROM_SYSTEM lookups are
// served; inserts are never expanded. Returns the characters written without the terminator; 0 when the code has no
// text (ERROR_MR_MID_NOT_FOUND) or the buffer is too small (ERROR_INSUFFICIENT_BUFFER).
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;
DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                     void* arguments);

// A message box of the running Qt widgets application, with the information icon for MB_ICONINFORMATION and the
// critical one otherwise; without such an application the text goes to the standard error. A null caption reads
// "Error". Returns the button pressed (1, OK).
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
using MessageBoxHandler = int (*)(std::intptr_t owner, const std::u16string& text, const std::u16string& caption,
                                  UINT style);
int MessageBoxW(std::intptr_t owner, LPCOLESTR text, LPCOLESTR caption, UINT style);
// Replaces how boxes are shown (null: the default); returns the handler before.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// True when `address` lies in code of a loaded module (a deferred fill-in routine is only called then).
bool IsCodeAddress(const void* address);

}  // namespace com
