// The automation library's calling side: start-up, creating and attaching to objects, member paths with typed
// arguments, results converted by type letter, and collections.
#include <cstring>
#include <string>

#include "automation/automation.h"

using namespace com;

namespace {

std::atomic<int> gWideT{0};  // the type letter T stands for a wide text when set

constexpr UINT kMaxArguments = 25;
constexpr std::size_t kPathBuffer = 512;

// The variant type requested for a result type letter; false for a letter outside the table (or "m").
bool ResultTypeOf(char16_t letter, VARTYPE* vt) {
  switch (letter) {
    case u'B': case u'S': case u's': case u'T': *vt = VT_BSTR; return true;
    case u'D': case u'W': case u'f': case u't': *vt = VT_DATE; return true;
    case u'b': *vt = VT_BOOL; return true;
    case u'd': case u'p': *vt = VT_I4; return true;
    case u'u': *vt = VT_UI4; return true;
    case u'e': *vt = VT_R8; return true;
    case u'o': *vt = VT_DISPATCH; return true;
    case u'O': *vt = VT_UNKNOWN; return true;
    case u'v': *vt = VT_EMPTY; return true;
    default: return false;
  }
}

bool EndsName(char16_t c) { return c == 0 || c == u' ' || c == u'(' || c == u'=' || c == u'%'; }

// One argument built from the argument list by its type letter. `owned` is set when the VARIANT holds an automation
// string that the call must free.
HRESULT AutoConvertArgument(char16_t letter, va_list* args, VARIANT* v, bool* owned) {
  VariantInit(v);
  *owned = false;
  if (letter == u'T') letter = gWideT.load() ? u'S' : u's';
  switch (letter) {
    case u'B':
      v->vt = VT_BSTR;
      v->bstr = va_arg(*args, BSTR);
      return S_OK;
    case u'S': {
      const char16_t* text = va_arg(*args, const char16_t*);
      v->vt = VT_BSTR;
      if (text) {
        v->bstr = SysAllocString(text);
        if (!v->bstr) {
          v->vt = VT_EMPTY;
          return E_OUTOFMEMORY;
        }
      }
      *owned = true;
      return S_OK;
    }
    case u's': {
      const char* text = va_arg(*args, const char*);
      BSTR b = nullptr;
      HRESULT hr = AutoAnsiToBstr(text, &b);
      if (Failed(hr)) return hr;
      v->vt = VT_BSTR;
      v->bstr = b;
      *owned = true;
      return S_OK;
    }
    case u'D':
      v->vt = VT_DATE;
      v->date = va_arg(*args, double);
      return S_OK;
    case u'W': {
      const SYSTEMTIME* st = va_arg(*args, const SYSTEMTIME*);
      DATE d = 0;
      HRESULT hr = AutoSystemTimeToDate(st, &d);
      if (Failed(hr)) return hr;
      v->vt = VT_DATE;
      v->date = d;
      return S_OK;
    }
    case u'f': {
      const FILETIME* ft = va_arg(*args, const FILETIME*);
      DATE d = 0;
      HRESULT hr = AutoFileTimeToDate(ft, &d);
      if (Failed(hr)) return hr;
      v->vt = VT_DATE;
      v->date = d;
      return S_OK;
    }
    case u't': {
      const AutoTime32 t = static_cast<AutoTime32>(va_arg(*args, int));
      DATE d = 0;
      HRESULT hr = AutoTimeToDate(t, &d);
      if (Failed(hr)) return hr;
      v->vt = VT_DATE;
      v->date = d;
      return S_OK;
    }
    case u'b':
      v->vt = VT_BOOL;
      v->boolean = va_arg(*args, int) ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case u'd':
    case u'p':
      v->vt = VT_I4;
      v->i4 = va_arg(*args, int);
      return S_OK;
    case u'u':
      v->vt = VT_UI4;
      v->ui4 = va_arg(*args, unsigned);
      return S_OK;
    case u'e':
      v->vt = VT_R8;
      v->r8 = va_arg(*args, double);
      return S_OK;
    case u'o':
      v->vt = VT_DISPATCH;
      v->dispatch = va_arg(*args, IDispatch*);
      return S_OK;
    case u'O':
      v->vt = VT_UNKNOWN;
      v->unknown = va_arg(*args, IUnknown*);
      return S_OK;
    case u'v': {
      const VARIANT* given = va_arg(*args, const VARIANT*);
      if (!given) return E_INVALIDARG;
      std::memcpy(v, given, sizeof *v);
      return S_OK;
    }
    case u'm':
      v->vt = VT_ERROR;
      v->scode = DISP_E_PARAMNOTFOUND;
      return S_OK;
    default:
      return E_INVALIDARG;
  }
}

// The arguments of one link: its name cut off, one VARIANT per marker, filled from the end of `array` so that the
// last argument stands first. On success `*count` arguments stand at array + kMaxArguments - *count.
HRESULT AutoCreateArgumentArray(const char16_t* member, va_list* args, VARIANT* array, UINT* count,
                                std::u16string* name, bool* owned) {
  AutoEnter();
  HRESULT hr = S_OK;
  *count = 0;
  const char16_t* p = member;
  while (!EndsName(*p)) ++p;
  name->assign(member, static_cast<std::size_t>(p - member));
  for (; *p && Succeeded(hr); ++p) {
    if (*p != u'%') continue;
    if (*count == kMaxArguments) {
      hr = E_INVALIDARG;
      break;
    }
    const UINT slot = kMaxArguments - 1 - *count;
    hr = AutoConvertArgument(p[1], args, &array[slot], &owned[slot]);
    if (Succeeded(hr)) {
      ++*count;
      ++p;  // past the letter
    }
  }
  if (Failed(hr)) {
    for (UINT k = 0; k < *count; ++k) {
      const UINT slot = kMaxArguments - 1 - k;
      if (owned[slot]) VariantClear(&array[slot]);
      owned[slot] = false;
    }
    *count = 0;
  }
  return AutoRecordError(hr, 0, nullptr, member, nullptr, 0, u"CreateArgumentArray");
}

// One link invoked with its arguments; the result changed to `resultType` when one is asked for.
HRESULT AutoInternalInvokeV(WORD kind, VARTYPE resultType, VARIANT* result, IDispatch* object, const char16_t* member,
                            va_list* args) {
  AutoEnter();
  VARIANT array[kMaxArguments];
  bool owned[kMaxArguments] = {};
  UINT count = 0;
  std::u16string name;
  HRESULT hr = AutoCreateArgumentArray(member, args, array, &count, &name, owned);
  if (Succeeded(hr)) {
    hr = AutoInvokeArray(kind, result, count, object, name.c_str(), array + (kMaxArguments - count));
    for (UINT k = kMaxArguments - count; k < kMaxArguments; ++k)
      if (owned[k]) VariantClear(&array[k]);
    if (Succeeded(hr) && result && resultType != VT_EMPTY && result->vt != resultType) {
      hr = VariantChangeType(result, result, VARIANT_LOCALBOOL, resultType);
      if (Failed(hr)) VariantClear(result);
    }
  }
  return AutoRecordError(hr, 0, nullptr, member, nullptr, 0, u"InternalInvokeV");
}

// Walks a path's links but the last, each read as an object. On success `*reached` holds a reference on the object
// of the last link and `*last` points at that link within `path` (which is cut at each ".").
HRESULT AutoTraverseSubObjects(IDispatch* object, char16_t* path, va_list* args, IDispatch** reached,
                               char16_t** last) {
  AutoEnter();
  HRESULT hr = S_OK;
  object->AddRef();
  IDispatch* current = object;
  char16_t* link = path;
  if (*link == u'.') ++link;
  for (;;) {
    char16_t* dot = link;
    while (*dot && *dot != u'.') ++dot;
    if (!*dot) break;
    *dot = 0;
    VARIANT value;
    VariantInit(&value);
    hr = AutoInternalInvokeV(DISPATCH_METHOD | DISPATCH_PROPERTYGET, VT_DISPATCH, &value, current, link, args);
    if (Succeeded(hr) && (value.vt != VT_DISPATCH || !value.dispatch)) {
      VariantClear(&value);
      hr = E_NOINTERFACE;
    }
    if (Failed(hr)) break;
    current->Release();
    current = value.dispatch;
    link = dot + 1;
  }
  if (Failed(hr)) {
    current->Release();
    *reached = nullptr;
    *last = nullptr;
  } else {
    *reached = current;
    *last = link;
  }
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"TraverseSubObjects");
}

}  // namespace

// ---- start-up -----------------------------------------------------------------------------------------------------

HRESULT AutoInitialize(int startCom, int wideT) {
  gWideT.store(wideT ? 1 : 0);
  return startCom ? CoInitialize(nullptr) : S_OK;
}

void AutoUninitialize(int stopCom) {
  AutoFreeThreadRecord();
  if (stopCom) CoUninitialize();
}

// ---- objects ------------------------------------------------------------------------------------------------------

namespace {

HRESULT ClassIdOf(const char16_t* classText, CLSID* clsid) {
  return classText[0] == u'{' ? CLSIDFromString(classText, clsid) : CLSIDFromProgID(classText, clsid);
}

}  // namespace

HRESULT AutoCreateObjectEx(const char16_t* classText, const IID* iid, DWORD contexts, COSERVERINFO* server,
                           void** object) {
  AutoEnter();
  HRESULT hr = S_OK;
  if (object) *object = nullptr;
  if (!classText || !iid || !object) {
    hr = E_INVALIDARG;
  } else {
    CLSID clsid{};
    hr = ClassIdOf(classText, &clsid);
    IClassFactory* factory = nullptr;
    if (Succeeded(hr))
      hr = CoGetClassObject(clsid, contexts, server, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (Succeeded(hr)) {
      hr = factory->CreateInstance(nullptr, *iid, object);
      factory->Release();
    }
  }
  return AutoRecordError(hr, 0, nullptr, classText, nullptr, 0, u"CreateObjectEx");
}

HRESULT AutoCreateObject(const char16_t* classText, const char16_t* machine, IDispatch** object) {
  AutoEnter();
  HRESULT hr;
  if (!machine) {
    hr = AutoCreateObjectEx(classText, &IID_IDispatch, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, nullptr,
                            reinterpret_cast<void**>(object));
  } else {
    COSERVERINFO server{0, machine, nullptr, 0};
    hr = AutoCreateObjectEx(classText, &IID_IDispatch, CLSCTX_REMOTE_SERVER, &server,
                            reinterpret_cast<void**>(object));
  }
  return AutoRecordError(hr, 0, nullptr, classText, nullptr, 0, u"CreateObject");
}

HRESULT AutoGetObjectEx(const char16_t* fileName, const char16_t* classText, const IID* iid, DWORD contexts,
                        void* reserved, void** object) {
  AutoEnter();
  HRESULT hr = S_OK;
  if (object) *object = nullptr;
  if ((!fileName && !classText) || !iid || !object || reserved) {
    hr = E_INVALIDARG;
  } else if (!fileName) {
    CLSID clsid{};
    hr = ClassIdOf(classText, &clsid);
    IUnknown* running = nullptr;
    if (Succeeded(hr)) hr = GetActiveObject(clsid, nullptr, &running);
    if (Succeeded(hr)) {
      hr = running->QueryInterface(*iid, object);
      running->Release();
    }
  } else if (classText) {
    IPersistFile* file = nullptr;
    hr = AutoCreateObjectEx(classText, &IID_IPersistFile, contexts, nullptr, reinterpret_cast<void**>(&file));
    if (Succeeded(hr)) {
      hr = file->Load(fileName, 0);
      if (Succeeded(hr)) hr = file->QueryInterface(*iid, object);
      file->Release();
    }
  } else {
    hr = CoGetObject(fileName, nullptr, *iid, object);
  }
  return AutoRecordError(hr, 0, nullptr, fileName ? fileName : classText, nullptr, 0, u"GetObjectEx");
}

HRESULT AutoGetObject(const char16_t* fileName, const char16_t* classText, IDispatch** object) {
  AutoEnter();
  HRESULT hr = AutoGetObjectEx(fileName, classText, &IID_IDispatch, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                               nullptr, reinterpret_cast<void**>(object));
  return AutoRecordError(hr, 0, nullptr, fileName ? fileName : classText, nullptr, 0, u"GetObject");
}

// ---- calls --------------------------------------------------------------------------------------------------------

HRESULT AutoInvokeArray(WORD kind, VARIANT* result, UINT count, IDispatch* object, const char16_t* name,
                        VARIANT* args) {
  AutoEnter();
  HRESULT hr = S_OK;
  EXCEPINFO exception{};
  UINT argError = 0;
  if (result) VariantInit(result);
  if (!object || !name || !name[0] || (count && !args)) {
    hr = E_INVALIDARG;
  } else {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (Succeeded(hr)) {
      DISPID putId = DISPID_PROPERTYPUT;
      const bool put = kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
      DISPPARAMS params{args, put ? &putId : nullptr, count, put ? 1u : 0u};
      hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception, &argError);
    }
  }
  hr = AutoRecordError(hr, 1, name, name, &exception, argError, u"InvokeArray");
  // Whatever the record did not take over is freed here.
  SysFreeString(exception.source);
  SysFreeString(exception.description);
  SysFreeString(exception.helpFile);
  return hr;
}

HRESULT AutoInvokeV(WORD kind, VARTYPE resultType, VARIANT* result, IDispatch* object, const char16_t* path,
                    va_list* args) {
  AutoEnter();
  HRESULT hr = S_OK;
  if (!object || !path || !args) {
    hr = E_INVALIDARG;
  } else if (std::char_traits<char16_t>::length(path) >= kPathBuffer) {
    hr = E_INVALIDARG;
  } else {
    char16_t copy[kPathBuffer];
    AutoCopyWide(copy, kPathBuffer, path);
    IDispatch* reached = nullptr;
    char16_t* member = nullptr;
    hr = AutoTraverseSubObjects(object, copy, args, &reached, &member);
    if (Succeeded(hr)) {
      hr = AutoInternalInvokeV(kind, resultType, result, reached, member, args);
      reached->Release();
    }
  }
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"InvokeV");
}

HRESULT AutoInvoke(WORD kind, VARTYPE resultType, VARIANT* result, IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoInvokeV(kind, resultType, result, object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"Invoke");
}

namespace {

// The three simple forms: a call without result.
HRESULT SimpleCallV(WORD kind, IDispatch* object, const char16_t* path, va_list* args, const char16_t* label) {
  AutoEnter();
  HRESULT hr = AutoInvokeV(kind, VT_EMPTY, nullptr, object, path, args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, label);
}

}  // namespace

HRESULT AutoCallMethodV(IDispatch* object, const char16_t* path, va_list* args) {
  return SimpleCallV(DISPATCH_METHOD, object, path, args, u"CallMethodV");
}

HRESULT AutoPutValueV(IDispatch* object, const char16_t* path, va_list* args) {
  return SimpleCallV(DISPATCH_PROPERTYPUT, object, path, args, u"PutValueV");
}

HRESULT AutoPutRefV(IDispatch* object, const char16_t* path, va_list* args) {
  return SimpleCallV(DISPATCH_PROPERTYPUTREF, object, path, args, u"PutRefV");
}

HRESULT AutoCallMethod(IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoCallMethodV(object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"CallMethod");
}

HRESULT AutoPutValue(IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoPutValueV(object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"PutValue");
}

HRESULT AutoPutRef(IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoPutRefV(object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"PutRef");
}

HRESULT AutoGetValueV(const char16_t* resultType, void* result, IDispatch* object, const char16_t* path,
                      va_list* args) {
  AutoEnter();
  HRESULT hr = S_OK;
  char16_t letter = 0;
  VARTYPE vt = VT_EMPTY;
  if (resultType) letter = resultType[0] == u'%' ? resultType[1] : resultType[0];
  if (!result || !resultType || !ResultTypeOf(letter, &vt)) {
    hr = E_INVALIDARG;
  } else {
    if (letter == u'T') letter = gWideT.load() ? u'S' : u's';
    VARIANT value;
    VariantInit(&value);
    hr = AutoInvokeV(DISPATCH_METHOD | DISPATCH_PROPERTYGET, vt, &value, object, path, args);
    if (Succeeded(hr)) {
      switch (letter) {
        case u'B':
        case u'S':
          *static_cast<BSTR*>(result) = value.bstr;
          break;
        case u's':
          hr = AutoBstrToAnsi(value.bstr ? value.bstr : u"", static_cast<char**>(result));
          VariantClear(&value);
          break;
        case u'D': *static_cast<DATE*>(result) = value.date; break;
        case u'W': hr = AutoDateToSystemTime(value.date, static_cast<SYSTEMTIME*>(result)); break;
        case u'f': hr = AutoDateToFileTime(value.date, static_cast<FILETIME*>(result)); break;
        case u't': hr = AutoDateToTime(value.date, static_cast<AutoTime32*>(result)); break;
        case u'b': *static_cast<int*>(result) = value.boolean ? -1 : 0; break;
        case u'd':
        case u'p':
          *static_cast<std::int32_t*>(result) = value.i4;
          break;
        case u'u': *static_cast<std::uint32_t*>(result) = value.ui4; break;
        case u'e': *static_cast<double*>(result) = value.r8; break;
        case u'o':
          if (!value.dispatch)
            hr = E_NOINTERFACE;
          else
            *static_cast<IDispatch**>(result) = value.dispatch;
          break;
        case u'O':
          if (!value.unknown)
            hr = E_NOINTERFACE;
          else
            *static_cast<IUnknown**>(result) = value.unknown;
          break;
        case u'v': std::memcpy(result, &value, sizeof value); break;
        default: break;
      }
    }
  }
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"GetValueV");
}

HRESULT AutoGetValue(const char16_t* resultType, void* result, IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoGetValueV(resultType, result, object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"GetValue");
}

// ---- collections --------------------------------------------------------------------------------------------------

HRESULT AutoEnumBeginV(IEnumVARIANT** enumerator, IDispatch* object, const char16_t* path, va_list* args) {
  AutoEnter();
  HRESULT hr = S_OK;
  EXCEPINFO exception{};
  UINT argError = 0;
  int fromInvoke = 0;
  if (enumerator) *enumerator = nullptr;
  if (!enumerator || !object) {
    hr = E_INVALIDARG;
  } else {
    IDispatch* collection = object;
    if (path) hr = AutoGetValueV(u"%o", &collection, object, path, args);
    if (Succeeded(hr)) {
      VARIANT value;
      VariantInit(&value);
      DISPPARAMS none{nullptr, nullptr, 0, 0};
      hr = collection->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              &none, &value, &exception, &argError);
      if (path) collection->Release();
      if (Failed(hr)) {
        fromInvoke = 1;
      } else if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.unknown) {
        IUnknown* items = value.vt == VT_DISPATCH ? static_cast<IUnknown*>(value.dispatch) : value.unknown;
        hr = items->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(enumerator));
      } else {
        hr = E_NOINTERFACE;
      }
      VariantClear(&value);
    }
  }
  hr = AutoRecordError(hr, fromInvoke, u"_NewEnum", path, &exception, argError, u"EnumBeginV");
  SysFreeString(exception.source);
  SysFreeString(exception.description);
  SysFreeString(exception.helpFile);
  return hr;
}

HRESULT AutoEnumBegin(IEnumVARIANT** enumerator, IDispatch* object, const char16_t* path, ...) {
  AutoEnter();
  va_list args;
  va_start(args, path);
  HRESULT hr = AutoEnumBeginV(enumerator, object, path, &args);
  va_end(args);
  return AutoRecordError(hr, 0, nullptr, path, nullptr, 0, u"EnumBegin");
}

HRESULT AutoEnumNextVariant(IEnumVARIANT* enumerator, VARIANT* item) {
  AutoEnter();
  HRESULT hr = E_INVALIDARG;
  if (enumerator && item) {
    VariantInit(item);
    hr = enumerator->Next(1, item, nullptr);
  }
  return AutoRecordError(hr, 0, u"Enumerator", u"Enumerator", nullptr, 0, u"EnumNextVariant");
}

HRESULT AutoEnumNextObject(IEnumVARIANT* enumerator, IDispatch** item) {
  AutoEnter();
  HRESULT hr = E_INVALIDARG;
  if (item) *item = nullptr;
  if (enumerator && item) {
    VARIANT value;
    VariantInit(&value);
    hr = enumerator->Next(1, &value, nullptr);
    if (hr == S_OK) {
      if (value.vt != VT_DISPATCH) {
        hr = VariantChangeType(&value, &value, 0, VT_DISPATCH);
        if (Failed(hr)) VariantClear(&value);
      }
      if (Succeeded(hr)) *item = value.dispatch;
    } else {
      VariantClear(&value);
    }
  }
  return AutoRecordError(hr, 0, u"Enumerator", u"Enumerator", nullptr, 0, u"EnumNextObject");
}
