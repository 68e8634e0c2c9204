// Start-up per thread, the class table (class ids, ProgIDs, class objects), file types, running objects, and
// object creation and binding over them.
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

#include "com/com.h"
#include "com/dispatch_object.h"

namespace com {

namespace {

struct ClassEntry {
  CLSID clsid;
  std::u16string progId;
  DWORD contexts;
  IClassFactory* factory;
};
struct FileType {
  std::u16string extension;
  CLSID clsid;
};
struct RunningEntry {
  DWORD cookie;
  CLSID clsid;
  IUnknown* object;
};

// The process's tables. They are made on first use (the first class registered), so that whatever is made after
// them and registers a class, such as the registration a library holds while it is loaded, is also undone before
// them when the library is unloaded or the process ends.
struct Tables {
  std::mutex mutex;
  std::vector<ClassEntry> classes;
  std::vector<FileType> fileTypes;
  std::vector<RunningEntry> running;
  DWORD nextCookie = 1;
};

Tables& T() {
  static Tables tables;
  return tables;
}

thread_local int tInitCount = 0;

bool Initialised() { return tInitCount > 0; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

HRESULT CoInitialize(void* reserved) {
  if (reserved) return E_INVALIDARG;
  return ++tInitCount == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (tInitCount > 0) --tInitCount;
}

HRESULT CoRegisterClass(const CLSID& clsid, LPCOLESTR progId, DWORD contexts, IClassFactory* factory) {
  if (!factory || contexts == 0) return E_INVALIDARG;
  factory->AddRef();
  IClassFactory* replaced = nullptr;
  {
    std::lock_guard<std::mutex> lock(T().mutex);
    ClassEntry entry{clsid, progId ? std::u16string(progId) : std::u16string(), contexts, factory};
    bool found = false;
    for (ClassEntry& e : T().classes) {
      if (e.clsid == clsid) {
        replaced = e.factory;
        e = entry;
        found = true;
      }
    }
    if (!found) T().classes.push_back(entry);
  }
  if (replaced) replaced->Release();
  return S_OK;
}

HRESULT CoRevokeClass(const CLSID& clsid) {
  IClassFactory* factory = nullptr;
  {
    std::lock_guard<std::mutex> lock(T().mutex);
    for (auto it = T().classes.begin(); it != T().classes.end(); ++it) {
      if (it->clsid == clsid) {
        factory = it->factory;
        T().classes.erase(it);
        break;
      }
    }
  }
  if (!factory) return E_INVALIDARG;
  factory->Release();
  return S_OK;
}

HRESULT CoRegisterFileType(LPCOLESTR extension, const CLSID& clsid) {
  if (!extension || extension[0] != u'.') return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(T().mutex);
  for (FileType& f : T().fileTypes) {
    if (SameName(f.extension, extension)) {
      f.clsid = clsid;
      return S_OK;
    }
  }
  T().fileTypes.push_back({extension, clsid});
  return S_OK;
}

HRESULT CoRevokeFileType(LPCOLESTR extension) {
  if (!extension) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(T().mutex);
  for (auto it = T().fileTypes.begin(); it != T().fileTypes.end(); ++it) {
    if (SameName(it->extension, extension)) {
      T().fileTypes.erase(it);
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(T().mutex);
  for (const ClassEntry& e : T().classes) {
    if (!e.progId.empty() && SameName(e.progId, progId)) {
      *clsid = e.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (!text || !clsid) return E_INVALIDARG;
  // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}
  if (WideLength(text) != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' || text[14] != u'-' ||
      text[19] != u'-' || text[24] != u'-')
    return CO_E_CLASSSTRING;
  std::uint8_t bytes[16];
  int b = 0;
  for (int k = 1; k < 37;) {
    if (text[k] == u'-') {
      ++k;
      continue;
    }
    int hi = HexDigit(text[k]), lo = HexDigit(text[k + 1]);
    if (hi < 0 || lo < 0) return CO_E_CLASSSTRING;
    bytes[b++] = static_cast<std::uint8_t>(hi * 16 + lo);
    k += 2;
  }
  GUID g{};
  g.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  g.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  g.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int k = 0; k < 8; ++k) g.data4[k] = bytes[8 + k];
  *clsid = g;
  return S_OK;
}

int StringFromGUID2(const GUID& guid, LPOLESTR buffer, int size) {
  if (!buffer || size < 39) return 0;
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.data1, guid.data2,
                guid.data3, guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                guid.data4[6], guid.data4[7]);
  for (int k = 0; k < 39; ++k) buffer[k] = static_cast<OLECHAR>(text[k]);
  return 39;
}

HRESULT CoGetClassObject(const CLSID& clsid, DWORD contexts, COSERVERINFO* server, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!Initialised()) return CO_E_NOTINITIALIZED;
  // There are no other machines here: a class wanted on a named remote machine cannot be reached.
  if ((contexts & CLSCTX_REMOTE_SERVER) && server && server->name && server->name[0])
    return HResultFromWin32(RPC_S_SERVER_UNAVAILABLE);
  IClassFactory* factory = nullptr;
  {
    std::lock_guard<std::mutex> lock(T().mutex);
    for (const ClassEntry& e : T().classes) {
      if (e.clsid == clsid && (e.contexts & contexts)) {
        factory = e.factory;
        factory->AddRef();
        break;
      }
    }
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD contexts, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, contexts, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (Failed(hr)) return hr;
  hr = factory->CreateInstance(outer, iid, object);
  factory->Release();
  return hr;
}

HRESULT RegisterActiveObject(IUnknown* object, const CLSID& clsid, DWORD flags, DWORD* cookie) {
  if (!object || !cookie) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(T().mutex);
  *cookie = T().nextCookie++;
  T().running.push_back({*cookie, clsid, object});
  return S_OK;
}

HRESULT RevokeActiveObject(DWORD cookie, void* reserved) {
  std::lock_guard<std::mutex> lock(T().mutex);
  for (auto it = T().running.begin(); it != T().running.end(); ++it) {
    if (it->cookie == cookie) {
      T().running.erase(it);
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

HRESULT GetActiveObject(const CLSID& clsid, void* reserved, IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!Initialised()) return CO_E_NOTINITIALIZED;
  std::lock_guard<std::mutex> lock(T().mutex);
  for (const RunningEntry& r : T().running) {
    if (r.clsid == clsid) {
      r.object->AddRef();
      *object = r.object;
      return S_OK;
    }
  }
  return MK_E_UNAVAILABLE;
}

HRESULT CoGetObject(LPCOLESTR name, void* bindOptions, const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!Initialised()) return CO_E_NOTINITIALIZED;
  if (!name || !name[0]) return MK_E_SYNTAX;
  const std::u16string fileName(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::path(Narrow(fileName)), ec)) return MK_E_CANTOPENFILE;
  const std::size_t dot = fileName.rfind(u'.');
  const std::size_t slash = fileName.find_last_of(u"/\\");
  if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return MK_E_INVALIDEXTENSION;
  CLSID clsid{};
  bool found = false;
  {
    std::lock_guard<std::mutex> lock(T().mutex);
    for (const FileType& f : T().fileTypes) {
      if (SameName(f.extension, std::u16string_view(fileName).substr(dot))) {
        clsid = f.clsid;
        found = true;
        break;
      }
    }
  }
  if (!found) return MK_E_INVALIDEXTENSION;
  IPersistFile* file = nullptr;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IPersistFile,
                                reinterpret_cast<void**>(&file));
  if (Failed(hr)) return hr;
  hr = file->Load(name, 0);
  if (Succeeded(hr)) hr = file->QueryInterface(iid, object);
  file->Release();
  return hr;
}

}  // namespace com
