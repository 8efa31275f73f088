#include "host/call_wait_win.h"

#include <optional>

namespace rapporta::host {
namespace {

// Everything, as the program's own message loop does it, until the queue is
// empty, a handler asked to stop, or WM_QUIT came.
void DispatchAll(const std::atomic<bool>& stop, std::optional<int>& quit) {
  MSG message;
  while (!stop && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = static_cast<int>(message.wParam);
      return;
    }
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

CallWait Wait(HANDLE answered, const WaitRules& rules, const std::atomic<bool>& stop,
              std::optional<int>& quit) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (rules.interruptible && stop) return CallWait::GivenUp;
    const ULONGLONG elapsed = GetTickCount64() - start;
    const DWORD left = elapsed < rules.bound ? static_cast<DWORD>(rules.bound - elapsed) : 0;
    // Nothing of the window's after WM_QUIT, or in a wait that is not
    // interruptible: the host's events are posted, never sent, so nothing
    // the host does waits for this thread meanwhile.
    if (!rules.interruptible || quit || left == 0) {
      return WaitForSingleObject(answered, left) == WAIT_OBJECT_0 ? CallWait::Answered
                                                                 : CallWait::TimedOut;
    }
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(1, &answered, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) return CallWait::Answered;
    if (woken != WAIT_OBJECT_0 + 1) return CallWait::TimedOut;
    DispatchAll(stop, quit);
  }
}

}  // namespace

CallWait WaitForCall(HANDLE answered, const WaitRules& rules, const std::atomic<bool>& stop) {
  std::optional<int> quit;
  const CallWait result = Wait(answered, rules, stop, quit);
  if (quit) PostQuitMessage(*quit);
  return result;
}

}  // namespace rapporta::host
