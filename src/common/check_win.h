#pragma once
// Turns a failed Win32 or COM call into the one failure type, at the call.
#include <windows.h>

#include "common/failure.h"

namespace rapporta {

inline void CheckHr(HRESULT hr, const char* operation) {
  if (FAILED(hr)) throw Failure(operation, static_cast<std::int32_t>(hr));
}

// For calls that report failure by their result and GetLastError.
[[noreturn]] inline void ThrowLastError(const char* operation) {
  throw Failure(operation, static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())));
}

template <typename T>
T CheckWin(T result, const char* operation) {
  if (!result) ThrowLastError(operation);
  return result;
}

}  // namespace rapporta
