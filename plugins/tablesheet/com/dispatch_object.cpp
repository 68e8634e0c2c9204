#include "com/dispatch_object.h"

namespace com {

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    char16_t x = a[k], y = b[k];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

// ---- arguments and results ----------------------------------------------------------------------------------------

bool CallArgs::Missing(std::size_t i) const {
  if (i >= positional.size()) return true;
  const VARIANT* v = positional[i];
  return v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND;
}

namespace {

HRESULT Converted(const VARIANT* from, VARTYPE vt, VARIANT* to) {
  VariantInit(to);
  if (!from) return DISP_E_PARAMNOTFOUND;
  return VariantChangeType(to, from, VARIANT_LOCALBOOL, vt);
}

HRESULT Arg(const CallArgs& args, std::size_t i, VARTYPE vt, VARIANT* to) {
  VariantInit(to);
  if (args.Missing(i)) {
    args.badArgument = static_cast<int>(i);
    return DISP_E_PARAMNOTFOUND;
  }
  HRESULT hr = Converted(args.positional[i], vt, to);
  if (Failed(hr)) args.badArgument = static_cast<int>(i);
  return hr;
}

}  // namespace

HRESULT ArgInt(const CallArgs& args, std::size_t i, std::int32_t* out) {
  VARIANT v;
  HRESULT hr = Arg(args, i, VT_I4, &v);
  if (Succeeded(hr)) *out = v.i4;
  return hr;
}

HRESULT ArgText(const CallArgs& args, std::size_t i, std::u16string* out) {
  VARIANT v;
  HRESULT hr = Arg(args, i, VT_BSTR, &v);
  if (Succeeded(hr)) *out = v.bstr ? std::u16string(v.bstr, SysStringLen(v.bstr)) : std::u16string();
  VariantClear(&v);
  return hr;
}

HRESULT ArgBool(const CallArgs& args, std::size_t i, bool* out) {
  VARIANT v;
  HRESULT hr = Arg(args, i, VT_BOOL, &v);
  if (Succeeded(hr)) *out = v.boolean != 0;
  return hr;
}

HRESULT ValueBool(const VARIANT* value, bool* out) {
  VARIANT v;
  HRESULT hr = Converted(value, VT_BOOL, &v);
  if (Succeeded(hr)) *out = v.boolean != 0;
  return hr;
}

HRESULT ValueInt(const VARIANT* value, std::int32_t* out) {
  VARIANT v;
  HRESULT hr = Converted(value, VT_I4, &v);
  if (Succeeded(hr)) *out = v.i4;
  return hr;
}

void ResultObject(VARIANT* result, IDispatch* object) {
  if (!result) {
    if (object) object->Release();
    return;
  }
  VariantInit(result);
  result->vt = VT_DISPATCH;
  result->dispatch = object;
}

void ResultBool(VARIANT* result, bool value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_BOOL;
  result->boolean = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void ResultInt(VARIANT* result, std::int32_t value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->i4 = value;
}

void ResultDouble(VARIANT* result, double value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_R8;
  result->r8 = value;
}

void ResultText(VARIANT* result, const std::u16string& text) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

HRESULT RaiseException(EXCEPINFO* exception, WORD code, SCODE scode, const std::u16string& source,
                       const std::u16string& description) {
  if (exception) {
    *exception = EXCEPINFO{};
    exception->code = code;
    exception->scode = code ? 0 : scode;
    exception->source = SysAllocStringLen(source.data(), static_cast<UINT>(source.size()));
    exception->description = SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
  }
  return DISP_E_EXCEPTION;
}

// ---- DispatchObject -----------------------------------------------------------------------------------------------

HRESULT DispatchObject::QueryInterface(const IID& iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() { return ++refs_; }

ULONG DispatchObject::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetIDsOfNames(const IID& iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  HRESULT hr = S_OK;
  for (UINT k = 0; k < count; ++k) {
    ids[k] = DISPID_UNKNOWN;
    if (k > 0 || !names[k]) {  // named parameters are not supported
      hr = DISP_E_UNKNOWNNAME;
      continue;
    }
    bool found = false;
    for (const Member& m : Members()) {
      if (SameName(m.name, names[k])) {
        ids[k] = m.id;
        found = true;
        break;
      }
    }
    if (!found) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT DispatchObject::Invoke(DISPID id, const IID& iid, LCID locale, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params || (params->argCount && !params->args) || (params->namedArgCount && !params->namedArgs))
    return E_INVALIDARG;
  bool known = id == DISPID_VALUE || id == DISPID_NEWENUM;
  for (const Member& m : Members()) known = known || m.id == id;
  if (!known) return DISP_E_MEMBERNOTFOUND;

  CallArgs args;
  UINT first = 0;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (params->namedArgCount != 1 || params->namedArgs[0] != DISPID_PROPERTYPUT || params->argCount == 0)
      return DISP_E_PARAMNOTFOUND;
    args.value = &params->args[0];
    first = 1;
  } else if (params->namedArgCount) {
    return DISP_E_NONAMEDARGS;
  }
  for (UINT k = params->argCount; k > first; --k) args.positional.push_back(&params->args[k - 1]);

  HRESULT hr = Call(id, flags, args, result, exception);
  if (argError && (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND || hr == DISP_E_OVERFLOW)) {
    if (args.badArgument >= 0)
      *argError = params->argCount - 1 - static_cast<UINT>(args.badArgument);
    else if (args.value)
      *argError = 0;
  }
  return hr;
}

// ---- enumerator ---------------------------------------------------------------------------------------------------

namespace {

class VariantEnumerator final : public IEnumVARIANT {
 public:
  explicit VariantEnumerator(const std::vector<VARIANT>& items) {
    items_.resize(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
      VariantInit(&items_[k]);
      VariantCopy(&items_[k], &items[k]);
    }
  }
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
      *object = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out && count) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && next_ < items_.size()) {
      VariantInit(&out[n]);
      HRESULT hr = VariantCopy(&out[n], &items_[next_]);
      if (Failed(hr)) return hr;
      ++n;
      ++next_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = items_.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumVARIANT** copy) override {
    if (!copy) return E_POINTER;
    auto* e = new VariantEnumerator(items_);
    e->next_ = next_;
    *copy = e;
    return S_OK;
  }

 private:
  ~VariantEnumerator() override {
    for (VARIANT& v : items_) VariantClear(&v);
  }
  std::atomic<ULONG> refs_{1};
  std::vector<VARIANT> items_;
  std::size_t next_ = 0;
};

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(CreateRoutine create) : create_(create) {}
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, object);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  ~ClassFactory() override = default;
  std::atomic<ULONG> refs_{1};
  CreateRoutine create_;
};

}  // namespace

IEnumVARIANT* NewVariantEnumerator(const std::vector<VARIANT>& items) { return new VariantEnumerator(items); }

IClassFactory* NewClassFactory(CreateRoutine create) { return new ClassFactory(create); }

}  // namespace com
