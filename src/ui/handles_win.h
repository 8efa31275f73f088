#pragma once
// Owners for the window system's handles: each one closes its handle once.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace rapporta::ui {

struct FontCloser {
  void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontCloser>;

struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace rapporta::ui
