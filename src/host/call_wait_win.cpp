#include "host/call_wait_win.h"

#include <optional>

namespace rapporta::host {
namespace {

// What a waiting outgoing call of the system's own apartment does, too: the
// host's events arrive as sent messages, and the window repaints.
void DispatchSentAndPaint() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  // A window that never validates would keep this going: a few rounds suffice.
  for (int round = 0; round < 16; ++round) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) break;
    DispatchMessageW(&message);
  }
}

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
    if (elapsed >= rules.bound) {
      return WaitForSingleObject(answered, 0) == WAIT_OBJECT_0 ? CallWait::Answered
                                                              : CallWait::TimedOut;
    }
    // After WM_QUIT only what a call of the system's own would handle.
    const bool all = rules.interruptible && !quit;
    const DWORD woken = MsgWaitForMultipleObjectsEx(
        1, &answered, static_cast<DWORD>(rules.bound - elapsed),
        all ? QS_ALLINPUT : QS_SENDMESSAGE | QS_PAINT, all ? MWMO_INPUTAVAILABLE : 0);
    if (woken == WAIT_OBJECT_0) return CallWait::Answered;
    if (woken == WAIT_OBJECT_0 + 1) {
      if (all) {
        DispatchAll(stop, quit);
      } else {
        DispatchSentAndPaint();
      }
    } else if (woken == WAIT_FAILED) {
      return WaitForSingleObject(answered, rules.bound) == WAIT_OBJECT_0 ? CallWait::Answered
                                                                        : CallWait::TimedOut;
    }
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
