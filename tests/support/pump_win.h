#pragma once
// Runs the test thread's message loop until something happens.
#include <windows.h>

#include <chrono>
#include <functional>

namespace rapporta::test {

using namespace std::chrono_literals;

// Dispatches every message already waiting. With a dialog window given, its
// messages go through IsDialogMessage as in the program's own loop.
inline void PumpPending(HWND dialog = nullptr) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Pumps until condition() holds or timeout passes; returns condition().
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = 5000ms, HWND dialog = nullptr) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    PumpPending(dialog);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return condition();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

}  // namespace rapporta::test
