#pragma once
// rapporta.exe started by a test, found by its process, and always ended.
#include <windows.h>

#include <string>

#include "common/text_win.h"
#include "standin_session_win.h"

namespace rapporta::testing {

class RapportaProcess {
 public:
  RapportaProcess();  // starts it
  RapportaProcess(const RapportaProcess&) = delete;
  RapportaProcess& operator=(const RapportaProcess&) = delete;
  ~RapportaProcess();  // ends it if it still runs

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  bool Ended(DWORD waitMilliseconds = 0) const;
  // The visible top-level window of the process of class className, or null.
  HWND VisibleWindow(const wchar_t* className = L"Rapporta.Form1") const;
  // Any visible top-level window of the process.
  bool AnyVisibleWindow() const;

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// The visible top-level window of process of class className (any class
// when null), or null.
HWND VisibleWindowOf(DWORD process, const wchar_t* className);
// The child of parent of the class whose style has all of style's bits.
HWND FindChild(HWND parent, const wchar_t* className, LONG style = 0, const wchar_t* text = nullptr);
// Pumps the test thread's messages until condition holds or timeout ends.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeout = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  return true;
}

}  // namespace rapporta::testing
