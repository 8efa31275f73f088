#pragma once
// Owners of the automation types: a BSTR, and a VARIANT that is cleared when
// it goes.
#include <windows.h>
#include <oleauto.h>

#include <new>

#include "common/text_win.h"
#include "common/unique_win.h"

namespace rapporta {

namespace close {
inline void Bstr(BSTR value) noexcept { SysFreeString(value); }
}  // namespace close

class Bstr : public Unique<BSTR, close::Bstr> {
 public:
  Bstr() noexcept = default;
  // Throws std::bad_alloc when the string cannot be made.
  explicit Bstr(TextView text)
      : Unique(SysAllocStringLen(WidePtr(text), static_cast<UINT>(text.size()))) {
    if (!Get()) throw std::bad_alloc();
  }

  // A null BSTR is the empty string.
  static Text ToText(BSTR value) {
    return value ? FromWide({value, SysStringLen(value)}) : Text();
  }
  Text ToText() const { return ToText(Get()); }
};

class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* Get() noexcept { return &value_; }

 private:
  VARIANT value_;
};

// An argument that lends value to a call: the caller's Bstr still owns it,
// so the VARIANT is never cleared.
inline VARIANT LentString(const Bstr& value) noexcept {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = value.Get();
  return argument;
}

}  // namespace rapporta
