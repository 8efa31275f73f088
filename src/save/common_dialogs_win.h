#pragma once
// comdlg32, loaded on the first save rather than at start-up: the save
// dialog's library brings shell32 and the printing libraries with it, and
// most sessions never save.
#include <windows.h>
#include <commdlg.h>

namespace rapporta::save {

struct CommonDialogs {
  decltype(&::GetSaveFileNameW) getSaveFileName;
  decltype(&::CommDlgExtendedError) extendedError;
};

// The library's functions, loaded by the first call; it then stays loaded
// for the life of the program. Throws Failure when it cannot be loaded.
const CommonDialogs& LoadCommonDialogs();

}  // namespace rapporta::save
