#pragma once
// A window class whose windows are bound to an object: the object comes in
// through CreateWindowEx's last argument, is taken at WM_NCCREATE, and every
// message from then on goes to its OnMessage(window, message, wParam,
// lParam); none after WM_NCDESTROY, which it still sees.
#include <windows.h>

#include "common/check_win.h"

namespace rapporta {

template <typename T>
class BoundWindow {
 public:
  // Registers the class once per process, with what style sets besides.
  static void Register(const wchar_t* className, WNDCLASSEXW style = {}) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) return;
    style.cbSize = sizeof style;
    style.lpfnWndProc = &Procedure;
    style.hInstance = instance;
    style.lpszClassName = className;
    CheckWin(RegisterClassExW(&style), "RegisterClassEx");
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return self->OnMessage(window, message, wParam, lParam);
  }
};

}  // namespace rapporta
