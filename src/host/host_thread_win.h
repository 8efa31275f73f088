#pragma once
// The one thread, in the multithreaded apartment, that makes every call to
// the host; the window's thread hands it each call and waits (call_wait_win.h)
// for at most a bound. Why: see host_app_win.cpp.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "host/call_wait_win.h"

namespace rapporta::host {

struct HostBounds {
  DWORD call = 10000;    // a send or a call-sign read; a healthy host takes ms
  DWORD create = 30000;  // creating the host and binding its events: as long
                         // as COM itself waits for a server to register
  DWORD grace = 500;     // before a window that waits lets the user close it
  DWORD release = 2000;  // letting go of the host as the window closes
};

// The bounds, with call and create shortened to RAPPORTA_HOST_BOUND_MS
// milliseconds when that is set: tests set it, so as not to wait 10 or 30 s.
HostBounds BoundsFromEnvironment();
// A time in milliseconds from the environment variable name; 0 when unset.
DWORD MillisecondsFromEnvironment(const wchar_t* name);

class HostThread {
 public:
  // A call's work; it names the call it is in, for the failure if the host
  // does not answer.
  using Work = std::function<void(std::atomic<const char*>& operation)>;

  HostThread();
  HostThread(const HostThread&) = delete;
  HostThread& operator=(const HostThread&) = delete;
  // Ends the thread once it is idle. A thread still in a call the host never
  // answered is left there with everything it holds: releasing a proxy to a
  // hung host is itself a call that waits, and the process ends around it.
  ~HostThread();

  // Runs work on the thread. Throws Failure(operation, kNoAnswer) when the
  // bound passes, or at once while the thread is still in an earlier call
  // the host has not answered; Failure(operation, kGivenUp) once Stop() was
  // called (an interruptible wait only); and whatever work threw.
  void Run(const char* operation, Work work, const WaitRules& rules);

  // From a message handled while the window's thread waits: give up.
  void Stop() noexcept { stop_ = true; }

 private:
  struct State;
  static void Serve(const std::shared_ptr<State>& state);

  std::shared_ptr<State> state_;
  std::atomic<bool> stop_{false};
};

}  // namespace rapporta::host
