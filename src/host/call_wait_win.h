#pragma once
// How the window's thread waits while a call to the host is out on the host
// thread: the window keeps painting and the host's events (sent messages)
// are handled, but nothing the user does is acted on while a healthy host
// answers. Past a short grace the user may close the window; past the bound
// the call is given up.
#include <windows.h>

#include <atomic>

namespace rapporta::host {

enum class CallWait {
  Answered,
  TimedOut,  // the bound passed first
  GivenUp,   // the window is closing
};

struct WaitRules {
  DWORD bound;          // ms until the call is given up
  DWORD grace;          // ms before the window's other messages are let through
  bool interruptible;   // false: only sent and paint messages, however long,
                        // and stop is not heeded
};

// Waits until answered is signalled, the bound passes, or stop is set (by a
// message handled meanwhile).
CallWait WaitForCall(HANDLE answered, const WaitRules& rules, const std::atomic<bool>& stop);

}  // namespace rapporta::host
