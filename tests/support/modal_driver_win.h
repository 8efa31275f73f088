#pragma once
// Drives a modal window (a common dialog, a message box) from a second
// thread while the test's own thread sits in the modal loop.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "common/text_win.h"

namespace rapporta::test {

// The visible top-level dialog (#32770) of this process titled title, or
// null when none appears within timeoutMs.
HWND WaitForDialog(std::wstring_view title, DWORD timeoutMs = 10000);

// Whether a top-level dialog titled title is open right now.
bool DialogIsOpen(std::wstring_view title);

// Runs script on its own thread from construction; joins on destruction.
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void()> script) : thread_(std::move(script)) {}
  ~ModalDriver() {
    if (thread_.joinable()) thread_.join();
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;
  void Join() { thread_.join(); }

 private:
  std::thread thread_;
};

}  // namespace rapporta::test
