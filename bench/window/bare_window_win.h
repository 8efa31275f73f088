#pragma once
// The smallest window a Win32 program can show, shared by the bare window and
// the minimal host client so that the two differ only by the host link.
#include <windows.h>

namespace rapporta::bench {

inline LRESULT CALLBACK BareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Created hidden; null when it could not be.
inline HWND CreateBareWindow(HINSTANCE instance, const wchar_t* caption) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = BareProcedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BareWindow";
  if (!RegisterClassW(&windowClass)) return nullptr;
  return CreateWindowExW(0, L"BareWindow", caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 404, 387, nullptr, nullptr, instance, nullptr);
}

// Shows the window and runs the message loop until it is closed.
inline int ShowAndRun(HWND window, int showCommand) {
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace rapporta::bench
