#pragma once
// The Win32 half of DlgUtil: the system's save dialog and the Yes/No question.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "common/text.h"

namespace rapporta::save {

// The Unicode save dialog. True when the user chose a name; false when the
// dialog was cancelled or the chosen name did not fit the buffer. Throws
// Failure when the dialog itself could not run.
bool ShowSaveDialog(OPENFILENAMEW& record);

// Asks prompt with Yes and No, owned by owner and modal to the application;
// answer becomes "YES", "NO" or empty.
void AskYesNo(HWND owner, TextView prompt, std::string& answer);

}  // namespace rapporta::save
