// The automation library: drives automation servers by late binding through IDispatch.
//
// Objects are created or attached by ProgID or by a class id written in braces; members are named by a member path
// in a printf-like notation ("Workbooks.Open(%s)", "cells(%u,%u)=%s"): links separated by ".", each link's name
// ending at the first blank, "(", "=" or "%", and each "%" followed by a type letter taking the next argument of the
// variable argument list, in the order the markers stand along the whole path:
//
//   letter  argument taken                         result stored (AutoGetValue)
//   B       BSTR, used as it is                    BSTR (the caller frees it)
//   S       const char16_t*, copied                as B
//   s       const char* (UTF-8), converted         char* in an automation byte string (free with SysFreeString)
//   T       S when the wide-T flag is set, else s
//   D       double (a date)                        double
//   W       SYSTEMTIME*                            into the SYSTEMTIME pointed to
//   f       FILETIME*                              into the FILETIME pointed to
//   t       AutoTime32 (seconds since 1970, UTC)   into the AutoTime32 pointed to (read as local time)
//   b       int (non-zero true)                    int, -1 or 0
//   d, p    int                                    std::int32_t
//   u       unsigned                               std::uint32_t
//   e       double                                 double
//   o       IDispatch* (not referenced again)      IDispatch* (the caller releases it); null fails E_NOINTERFACE
//   O       IUnknown*                              IUnknown*, as o
//   v       VARIANT* (copied as it is, not owned)  the whole VARIANT (the caller clears it)
//   m       nothing: a missing optional argument   not accepted
//
// Every operation returns a result code and never throws. Every operation, and every internal step with a label,
// reports to the calling thread's error record: the first failure within an outermost operation is kept with the
// failing member and the server's exception information, the outermost operation adds its label and member path, and
// (when asked for) shows the error in a message box and calls a callback. The per-thread state uses the language's
// thread-local storage, so nothing needs setting up and nothing is held after the library is unloaded.
//
// The operations taking an argument list have twins with the suffix V that take a pointer to a va_list instead; the
// markers consume it as they go (a null pointer is a missing argument list).
#pragma once
#include <cstdarg>
#include <cstdint>

#include "com/com.h"

// ---- error record and options -------------------------------------------------------------------------------------

// The last failing outermost operation of a thread.
struct AutoErrorRecord {
  const char16_t* outermostLabel;  // label of the outermost operation
  const char16_t* failingLabel;    // label of the operation that failed first
  com::HRESULT resultCode;         // the first failure's code
  char16_t failingMember[64];      // the first failure's member name (at most 63 characters)
  char16_t memberPath[256];        // the outermost operation's member path (at most 255 characters)
  std::int32_t exceptionCode;      // the server's 16-bit error code when non-zero, else its status code
  com::BSTR description;           // owned by the record
  com::BSTR source;                // owned by the record
  com::BSTR helpFile;              // owned by the record
  std::uint32_t helpContext;
  std::uint32_t argErrorPosition;  // as the server's Invoke reported it
  std::int32_t fromInvoke;         // 1 when the failure came back from Invoke
  std::int32_t complete;           // set when the outermost failing operation has ended
};

using AutoErrorCallback = void (*)(AutoErrorRecord* record);

// Process-wide; all zero at start: no message box, recording on, no callback.
struct AutoErrorOptions {
  std::intptr_t ownerWindow;  // owner of the message box
  const char16_t* caption;    // caption of the message box; null for the system's default
  std::int32_t show;          // show a message box when an outermost operation fails
  std::int32_t noRecord;      // do not record failures
  AutoErrorCallback callback; // receives the thread's record after an outermost operation failed; may be null
};

// A time value of 32 bits: seconds since 1 January 1970, UTC.
using AutoTime32 = std::int32_t;

com::HRESULT AutoToggleErrors(int show);  // sets the show flag; setting it also clears the no-record flag
com::HRESULT AutoSetErrorOptions(const AutoErrorOptions* options);
com::HRESULT AutoGetErrorOptions(AutoErrorOptions* options);
com::HRESULT AutoGetErrorRecord(AutoErrorRecord** record);  // null when the thread has none
// The error text of `record` (null: the thread's record) into `buffer` of `size` characters, cut to fit and always
// terminated; laid out with tabs, or in fixed columns when `fixedLayout` is set.
com::HRESULT AutoFormatError(AutoErrorRecord* record, char16_t* buffer, com::UINT size, int fixedLayout);
com::HRESULT AutoFormatErrorA(AutoErrorRecord* record, char* buffer, com::UINT size, int fixedLayout);
com::HRESULT AutoShowError(AutoErrorRecord* record);

// Entry and exit steps of every operation.
void AutoEnter();
com::HRESULT AutoRecordError(com::HRESULT code, int fromInvoke, const char16_t* failingMember,
                             const char16_t* memberPath, com::EXCEPINFO* exception, com::UINT argErrorPosition,
                             const char16_t* label);
// A copy of at most size - 1 characters, always terminated (a surrogate pair is never split); E_INVALIDARG for size 0.
com::HRESULT AutoCopyWide(char16_t* dest, com::UINT size, const char16_t* source);
void AutoFreeThreadRecord();

// ---- conversions --------------------------------------------------------------------------------------------------

com::HRESULT AutoFileTimeToDate(const com::FILETIME* fileTime, com::DATE* date);
com::HRESULT AutoDateToFileTime(com::DATE date, com::FILETIME* fileTime);
com::HRESULT AutoSystemTimeToDate(const com::SYSTEMTIME* systemTime, com::DATE* date);
com::HRESULT AutoDateToSystemTime(com::DATE date, com::SYSTEMTIME* systemTime);
com::HRESULT AutoTimeToDate(AutoTime32 time, com::DATE* date);
com::HRESULT AutoDateToTime(com::DATE date, AutoTime32* time);
// UTF-8 text to a new automation string (null text: null string).
com::HRESULT AutoAnsiToBstr(const char* text, com::BSTR* out);
// Wide text to a new UTF-8 text held in an automation byte string, freed with SysFreeString (null text: null).
com::HRESULT AutoBstrToAnsi(const char16_t* wide, char** out);

// ---- objects and calls --------------------------------------------------------------------------------------------

com::HRESULT AutoInitialize(int startCom, int wideT);
void AutoUninitialize(int stopCom);

com::HRESULT AutoCreateObjectEx(const char16_t* classText, const com::IID* iid, com::DWORD contexts,
                                com::COSERVERINFO* server, void** object);
com::HRESULT AutoCreateObject(const char16_t* classText, const char16_t* machine, com::IDispatch** object);
com::HRESULT AutoGetObjectEx(const char16_t* fileName, const char16_t* classText, const com::IID* iid,
                             com::DWORD contexts, void* reserved, void** object);
com::HRESULT AutoGetObject(const char16_t* fileName, const char16_t* classText, com::IDispatch** object);

com::HRESULT AutoCallMethod(com::IDispatch* object, const char16_t* path, ...);
com::HRESULT AutoCallMethodV(com::IDispatch* object, const char16_t* path, va_list* args);
com::HRESULT AutoPutValue(com::IDispatch* object, const char16_t* path, ...);
com::HRESULT AutoPutValueV(com::IDispatch* object, const char16_t* path, va_list* args);
com::HRESULT AutoPutRef(com::IDispatch* object, const char16_t* path, ...);
com::HRESULT AutoPutRefV(com::IDispatch* object, const char16_t* path, va_list* args);
com::HRESULT AutoGetValue(const char16_t* resultType, void* result, com::IDispatch* object, const char16_t* path, ...);
com::HRESULT AutoGetValueV(const char16_t* resultType, void* result, com::IDispatch* object, const char16_t* path,
                           va_list* args);
com::HRESULT AutoInvoke(com::WORD kind, com::VARTYPE resultType, com::VARIANT* result, com::IDispatch* object,
                        const char16_t* path, ...);
com::HRESULT AutoInvokeV(com::WORD kind, com::VARTYPE resultType, com::VARIANT* result, com::IDispatch* object,
                         const char16_t* path, va_list* args);
com::HRESULT AutoInvokeArray(com::WORD kind, com::VARIANT* result, com::UINT count, com::IDispatch* object,
                             const char16_t* name, com::VARIANT* args);

com::HRESULT AutoEnumBegin(com::IEnumVARIANT** enumerator, com::IDispatch* object, const char16_t* path, ...);
com::HRESULT AutoEnumBeginV(com::IEnumVARIANT** enumerator, com::IDispatch* object, const char16_t* path,
                            va_list* args);
com::HRESULT AutoEnumNextVariant(com::IEnumVARIANT* enumerator, com::VARIANT* item);
com::HRESULT AutoEnumNextObject(com::IEnumVARIANT* enumerator, com::IDispatch** item);
