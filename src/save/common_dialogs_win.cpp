#include "save/common_dialogs_win.h"

#include <string>

#include "common/check_win.h"
#include "common/module_function_win.h"

namespace rapporta::save {
namespace {

template <typename Function>
Function Required(HMODULE module, const char* name) {
  return CheckWin(ModuleFunction<Function>(module, name), name);
}

CommonDialogs Load() {
  // From the system folder by its full path, never from beside the program.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) ThrowLastError("GetSystemDirectory");
  const std::wstring path = std::wstring(folder, length) + L"\\comdlg32.dll";
  // Never freed: the program keeps it as it would keep a library it imports.
  const HMODULE module = CheckWin(LoadLibraryW(path.c_str()), "LoadLibrary(comdlg32)");
  return {Required<decltype(&::GetSaveFileNameW)>(module, "GetSaveFileNameW"),
          Required<decltype(&::CommDlgExtendedError)>(module, "CommDlgExtendedError")};
}

}  // namespace

const CommonDialogs& LoadCommonDialogs() {
  // A failed load throws here and is tried again by the next save.
  static const CommonDialogs dialogs = Load();
  return dialogs;
}

}  // namespace rapporta::save
