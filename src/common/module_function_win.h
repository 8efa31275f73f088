#pragma once
// A function of a loaded module, looked up by name and typed; null when the
// module or the function is not there.
#include <windows.h>

namespace rapporta {

template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // The detour through void* keeps the compilers quiet about the cast.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace rapporta
