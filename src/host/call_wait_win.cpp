#include "host/call_wait_win.h"

#include <algorithm>

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
// empty or a handler asked to stop.
void DispatchAll(const std::atomic<bool>& stop) {
  MSG message;
  while (!stop && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // For the loop outside this wait.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

CallWait WaitForCall(HANDLE answered, const WaitRules& rules, const std::atomic<bool>& stop) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (rules.interruptible && stop) return CallWait::GivenUp;
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed >= rules.bound) {
      return WaitForSingleObject(answered, 0) == WAIT_OBJECT_0 ? CallWait::Answered
                                                              : CallWait::TimedOut;
    }
    const bool open = rules.interruptible && elapsed >= rules.grace;
    ULONGLONG timeout = rules.bound - elapsed;
    if (rules.interruptible && !open) timeout = std::min<ULONGLONG>(timeout, rules.grace - elapsed);
    const DWORD woken = MsgWaitForMultipleObjectsEx(
        1, &answered, static_cast<DWORD>(timeout),
        open ? QS_ALLINPUT : QS_SENDMESSAGE | QS_PAINT, open ? MWMO_INPUTAVAILABLE : 0);
    if (woken == WAIT_OBJECT_0) return CallWait::Answered;
    if (woken == WAIT_OBJECT_0 + 1) {
      if (open) {
        DispatchAll(stop);
      } else {
        DispatchSentAndPaint();
      }
    } else if (woken == WAIT_FAILED) {
      return WaitForSingleObject(answered, rules.bound) == WAIT_OBJECT_0 ? CallWait::Answered
                                                                        : CallWait::TimedOut;
    }
  }
}

}  // namespace rapporta::host
