#include "ui/dpi_win.h"

#include "common/check_win.h"
#include "common/module_function_win.h"

namespace rapporta::ui {
namespace {

// Newer systems' functions, absent from older ones.
template <typename Function>
Function User32Function(const char* name) {
  return ModuleFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, clientWidth, clientHeight};
  if (adjustForDpi != nullptr) {
    CheckWin(adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)),
             "AdjustWindowRectExForDpi");
  } else {
    CheckWin(AdjustWindowRectEx(&rect, style, FALSE, exStyle), "AdjustWindowRectEx");
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

UniqueFont MessageFont(int dpi) {
  using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto spiForDpi = User32Function<SpiForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (spiForDpi != nullptr) {
    CheckWin(spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                       static_cast<UINT>(dpi)),
             "SystemParametersInfoForDpi");
  } else {
    CheckWin(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0),
             "SystemParametersInfo");
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  return UniqueFont(CheckWin(CreateFontIndirectW(&metrics.lfMessageFont), "CreateFont"));
}

}  // namespace rapporta::ui
