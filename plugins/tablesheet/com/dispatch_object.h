// Helpers for writing automation servers on the substrate: a base class that counts references and answers
// GetIDsOfNames / Invoke from a table of member names, an enumerator over a list of VARIANTs, and a class factory
// made from a creation routine.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "com/com.h"

namespace com {

// The arguments of one call as a member sees them.
struct CallArgs {
  std::vector<const VARIANT*> positional;  // first to last; a property put's value is not among them
  const VARIANT* value = nullptr;          // the value of a property put (or put by reference)
  mutable int badArgument = -1;            // set by the Arg... readers: the positional argument that failed

  std::size_t size() const { return positional.size(); }
  // True when argument `i` was not given: past the end, or the "missing" marker (VT_ERROR, DISP_E_PARAMNOTFOUND).
  bool Missing(std::size_t i) const;
};

// Reads argument `i` converted to a type; DISP_E_PARAMNOTFOUND when missing, DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW
// when it does not convert (the argument is noted in `badArgument`).
HRESULT ArgInt(const CallArgs& args, std::size_t i, std::int32_t* out);
HRESULT ArgText(const CallArgs& args, std::size_t i, std::u16string* out);
HRESULT ArgBool(const CallArgs& args, std::size_t i, bool* out);
// Reads a value (a put's value, for one) the same way.
HRESULT ValueBool(const VARIANT* value, bool* out);
HRESULT ValueInt(const VARIANT* value, std::int32_t* out);

// Results. Each first empties `result` (a null result is fine: nothing is stored, an object given is released).
void ResultObject(VARIANT* result, IDispatch* object);  // takes over the caller's reference; null gives a null object
void ResultBool(VARIANT* result, bool value);
void ResultInt(VARIANT* result, std::int32_t value);
void ResultDouble(VARIANT* result, double value);
void ResultText(VARIANT* result, const std::u16string& text);

// Fills the server's exception record (when given) and returns DISP_E_EXCEPTION.
HRESULT RaiseException(EXCEPINFO* exception, WORD code, SCODE scode, const std::u16string& source,
                       const std::u16string& description);

// An automation object: one IDispatch whose members come from a table (names compared without regard to case).
class DispatchObject : public IDispatch {
 public:
  struct Member {
    const char16_t* name;
    DISPID id;
  };

  HRESULT QueryInterface(const IID& iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetIDsOfNames(const IID& iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  // Checks the call's shape (a put names its value; no other named arguments) and hands it to Call.
  HRESULT Invoke(DISPID id, const IID& iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argError) override;

 protected:
  DispatchObject() = default;
  ~DispatchObject() override = default;

  virtual std::span<const Member> Members() const = 0;
  // One call of member `id` (a member of the table, DISPID_VALUE or DISPID_NEWENUM) with the dispatch kind `flags`.
  // `result` may be null. DISP_E_MEMBERNOTFOUND for a member that does not take this kind of call.
  virtual HRESULT Call(DISPID id, WORD flags, const CallArgs& args, VARIANT* result, EXCEPINFO* exception) = 0;

 private:
  std::atomic<ULONG> refs_{1};
};

// An enumerator over copies of `items` (objects referenced, strings copied).
IEnumVARIANT* NewVariantEnumerator(const std::vector<VARIANT>& items);

// A class object whose CreateInstance calls `create` (aggregation is refused). Returned with one reference.
using CreateRoutine = HRESULT (*)(const IID& iid, void** object);
IClassFactory* NewClassFactory(CreateRoutine create);

// Case-insensitive comparison of ASCII letters in wide texts.
bool SameName(std::u16string_view a, std::u16string_view b);

}  // namespace com
