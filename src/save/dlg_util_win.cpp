#include "save/dlg_util_win.h"

#include <cderr.h>

#include "common/check_win.h"
#include "common/text_win.h"
#include "common/version.h"
#include "save/common_dialogs_win.h"
#include "save/dlg_util.h"

namespace rapporta::save {

bool ShowSaveDialog(OPENFILENAMEW& record) {
  const CommonDialogs& dialogs = LoadCommonDialogs();
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
