#pragma once
// Owner of one BSTR: freed when the owner goes, never copied.
#include <windows.h>
#include <oleauto.h>

#include <new>
#include <utility>

#include "common/text_win.h"

namespace rapporta::host {

class Bstr {
 public:
  Bstr() = default;
  // Throws std::bad_alloc when the string cannot be made.
  explicit Bstr(TextView text)
      : value_(SysAllocStringLen(WidePtr(text), static_cast<UINT>(text.size()))) {
    if (!value_) throw std::bad_alloc();
  }
  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }

  BSTR Get() const noexcept { return value_; }
  // For an out-parameter: whatever was held is freed first.
  BSTR* Out() noexcept {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
  }
  // Hands the string to a caller that frees it (an out-parameter of ours).
  BSTR Detach() noexcept { return std::exchange(value_, nullptr); }

  // A null BSTR is the empty string.
  static Text ToText(BSTR value) {
    return value ? FromWide({value, SysStringLen(value)}) : Text();
  }
  Text ToText() const { return ToText(value_); }

 private:
  BSTR value_ = nullptr;
};

}  // namespace rapporta::host
