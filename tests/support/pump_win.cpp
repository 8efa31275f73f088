#include "support/pump_win.h"

namespace rapporta::test {

void PumpPending(HWND dialog) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog != nullptr && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               HWND dialog) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    PumpPending(dialog);
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return condition();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

}  // namespace rapporta::test
