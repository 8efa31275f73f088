#pragma once
// Bridges the portable UTF-16 text type and the W API: on Windows wchar_t is
// a UTF-16 code unit, so the two share one representation.
#include <string>
#include <string_view>

#include "common/text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

namespace rapporta {

// NUL-terminated only when the view is: use on a Text, or pass the length too.
inline const wchar_t* WidePtr(TextView text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}
inline std::wstring_view Wide(TextView text) { return {WidePtr(text), text.size()}; }
inline Text FromWide(std::wstring_view text) {
  return Text(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace rapporta
