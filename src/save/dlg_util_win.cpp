#include "save/dlg_util_win.h"

#include <cderr.h>

#include <string>

#include "common/check_win.h"
#include "common/module_function_win.h"
#include "common/text_win.h"
#include "common/version.h"
#include "save/dlg_util.h"

namespace rapporta::save {
namespace {

// comdlg32, loaded on the first save rather than at start-up: the save
// dialog's library brings shell32 and the printing libraries with it, and
// most sessions never save.
struct CommonDialogs {
  decltype(&::GetSaveFileNameW) getSaveFileName;
  decltype(&::CommDlgExtendedError) extendedError;
};

template <typename Function>
Function Required(HMODULE module, const char* name) {
  return CheckWin(ModuleFunction<Function>(module, name), name);
}

CommonDialogs LoadCommonDialogs() {
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

bool ShowSaveDialog(OPENFILENAMEW& record) {
  // A failed load throws here and is tried again by the next save.
  static const CommonDialogs dialogs = LoadCommonDialogs();
  if (dialogs.getSaveFileName(&record)) return true;
  const DWORD error = dialogs.extendedError();
  if (error == FNERR_BUFFERTOOSMALL && record.lpstrFile && record.nMaxFile > 0) {
    // The buffer then holds the size the name needs, not a name.
    record.lpstrFile[0] = L'\0';
  }
  // Cancel, or a name that did not fit: both end the save quietly. Anything
  // else means the dialog never worked.
  if (error == 0 || error == FNERR_BUFFERTOOSMALL || error == FNERR_INVALIDFILENAME) {
    return false;
  }
  // The dialog's own code, not the system's: 2 is CDERR_INITIALIZATION here,
  // not "file not found".
  std::string name(CommonDialogErrorName(error));
  if (name.empty()) name = "CommDlgExtendedError";
  throw Failure("GetSaveFileNameW", static_cast<std::int32_t>(error), std::move(name));
}

void AskYesNo(HWND owner, TextView prompt, std::string& answer) {
  answer.clear();
  const int result =
      MessageBoxW(owner, NulTerminated(prompt).c_str(), WidePtr(kAppTitle),
                  // The last two flags are zero, written out as the full style.
                  // NOLINTNEXTLINE(misc-redundant-expression)
                  MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON1 | MB_APPLMODAL);
  if (result == 0) ThrowLastError("MessageBoxW");
  answer = AnswerWord(result);
}

}  // namespace rapporta::save
