#pragma once
// Bridges the portable UTF-16 text type and the W API: on Windows wchar_t is
// a UTF-16 code unit, so the two share one representation.
#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

#include "common/check_win.h"
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

// A copy that ends in NUL, for the calls that take no length:
// SetWindowTextW(window, NulTerminated(text).c_str()).
inline std::wstring NulTerminated(TextView text) { return std::wstring(Wide(text)); }

// The whole text of a window or control, also one of another process.
inline std::wstring WindowText(HWND window) {
  const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// A length as the code page conversions take it; too long fails operation.
inline int CheckedLength(std::size_t length, const char* operation) {
  if (length > INT_MAX) CheckHr(E_INVALIDARG, operation);
  return static_cast<int>(length);
}

// bytes in codePage as UTF-16. Throws Failure when they are not valid there.
inline std::wstring Widen(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int length = CheckedLength(bytes.size(), "MultiByteToWideChar");
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size == 0) ThrowLastError("MultiByteToWideChar");
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  CheckWin(MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), size),
           "MultiByteToWideChar");
  return wide;
}

}  // namespace rapporta
