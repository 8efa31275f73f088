#pragma once
// Times the tests set in the environment, so as not to wait for real ones.
#include <windows.h>

#include <cwchar>

namespace rapporta {

// A time in milliseconds from the environment variable name; 0 when unset.
inline DWORD MillisecondsFromEnvironment(const wchar_t* name) {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 16);
  return length > 0 && length < 16 ? static_cast<DWORD>(std::wcstoul(value, nullptr, 10)) : 0;
}

}  // namespace rapporta
