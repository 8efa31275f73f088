#pragma once
// Owners of the handles only the stand-in holds: its window and the
// registry keys of its registration.
#include <windows.h>

#include "common/unique_win.h"

namespace rapporta::standin {

namespace close {
inline void Window(HWND window) noexcept { DestroyWindow(window); }
inline void Key(HKEY key) noexcept { RegCloseKey(key); }
}  // namespace close

using UniqueWindow = Unique<HWND, close::Window>;
using UniqueKey = Unique<HKEY, close::Key>;

}  // namespace rapporta::standin
