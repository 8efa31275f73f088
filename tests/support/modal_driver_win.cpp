#include "support/modal_driver_win.h"

namespace rapporta::test {
namespace {

struct Search {
  std::wstring_view title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) != L"#32770") return TRUE;
  if (WindowText(window) != search.title) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

bool DialogIsOpen(std::wstring_view title) {
  Search search{title};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr;
}

HWND WaitForDialog(std::wstring_view title, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    Search search{title};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(20);
  } while (GetTickCount64() < end);
  return nullptr;
}

}  // namespace rapporta::test
