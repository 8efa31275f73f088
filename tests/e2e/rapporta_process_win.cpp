#include "rapporta_process_win.h"

#include <cstdlib>
#include <vector>

#include "common/check_win.h"

namespace rapporta::testing {
namespace {

std::wstring ExePath() {
  // The package test points the suite at the program taken out of the zip.
  if (const wchar_t* chosen = _wgetenv(L"RAPPORTA_EXE")) return chosen;
  std::string path = RAPPORTA_EXE;  // from the build
  std::wstring wide(path.begin(), path.end());
  // A Unix path of the cross build: Wine shows the root as drive Z.
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  return wide;
}

struct Search {
  DWORD process;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.process || !IsWindowVisible(window)) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (search.className && std::wstring(name) != search.className) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

RapportaProcess::RapportaProcess() {
  std::wstring command = L"\"" + ExePath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  CheckWin(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info),
           "CreateProcess(rapporta.exe)");
  CloseHandle(info.hThread);
  process_.Reset(info.hProcess);
  id_ = info.dwProcessId;
}

RapportaProcess::~RapportaProcess() {
  if (!Ended()) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

bool RapportaProcess::Ended(DWORD waitMilliseconds) const {
  return WaitForSingleObject(process_.Get(), waitMilliseconds) == WAIT_OBJECT_0;
}

HWND RapportaProcess::VisibleWindow(const wchar_t* className) const {
  return VisibleWindowOf(id_, className);
}

HWND VisibleWindowOf(DWORD process, const wchar_t* className) {
  Search search{process, className, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool RapportaProcess::AnyVisibleWindow() const { return VisibleWindow(nullptr) != nullptr; }

HWND FindChild(HWND parent, const wchar_t* className, LONG style, const wchar_t* text) {
  for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
       child = FindWindowExW(parent, child, className, nullptr)) {
    if ((GetWindowLongW(child, GWL_STYLE) & style) != style) continue;
    if (text && WindowText(child) != text) continue;
    return child;
  }
  return nullptr;
}

}  // namespace rapporta::testing
