#pragma once
// How the window's thread waits while a call to the host is out on the host
// thread. An interruptible wait runs the window as its own message loop does
// (keys, clicks, the host's events, a close), so the same key does the same
// thing whether or not a call is out; past the bound the call is given up.
// A wait that is not interruptible (letting go of the host as the window
// goes) handles no message at all.
#include <windows.h>

#include <atomic>

namespace rapporta::host {

enum class CallWait {
  Answered,
  TimedOut,  // the bound passed first
  GivenUp,   // the window is closing
};

struct WaitRules {
  DWORD bound;        // ms until the call is given up
  bool interruptible;
};

// Waits until answered is signalled, the bound passes, or stop is set (by a
// message handled meanwhile). A WM_QUIT met meanwhile is posted again once the
// wait is over, for the loop outside it.
CallWait WaitForCall(HANDLE answered, const WaitRules& rules, const std::atomic<bool>& stop);

}  // namespace rapporta::host
