// The smallest Win32 program that shows a window: what start-up costs under
// this Wine before any work of Rapporta's own.
#include "bare_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const HWND window = rapporta::bench::CreateBareWindow(instance, L"Bare");
  return window ? rapporta::bench::ShowAndRun(window, showCommand) : 1;
}
