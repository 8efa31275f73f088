#pragma once
// The one thread, in the multithreaded apartment, that makes every call to
// the host; the window's thread hands it each call and waits (call_wait_win.h)
// for at most a bound. Why: see host_app_win.cpp.
//
// Each call has a completion of its own, so no answer can be taken for
// another call's. A call given up at its bound is not forgotten: until the
// host answers it, every new call is refused as "still busy" (kStillBusy),
// and when it does end without failure its late work runs, on the thread.
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
  DWORD release = 2000;  // letting go of the host as the window closes
};

// The bounds, with call and create shortened to RAPPORTA_HOST_BOUND_MS
// milliseconds when that is set: tests set it, so as not to wait 10 or 30 s.
HostBounds BoundsFromEnvironment();

class HostThread {
 public:
  // A call's work; it names the call it is in, for the failure if the host
  // does not answer.
  using Work = std::function<void(std::atomic<const char*>& operation)>;

  HostThread();
  HostThread(const HostThread&) = delete;
  HostThread& operator=(const HostThread&) = delete;
  // Finish() with nothing left to do, unless it was called.
  ~HostThread();

  // Runs work on the thread and returns once it did. Throws
  // Failure(operation, kNoAnswer) when the bound passes first;
  // Failure(operation, kStillBusy) at once while a call given up earlier is
  // still out; Failure(operation, kGivenUp) once Stop() was called (an
  // interruptible wait only); and whatever work threw. late runs on the
  // thread if the call was given up and then ended without failure.
  void Run(const char* operation, Work work, const WaitRules& rules,
           std::function<void()> late = {});

  // From a message handled while the window's thread waits: give up.
  void Stop() noexcept { stop_ = true; }

  // The thread's last job, run after any call still out; everything the
  // calls held is let go there too. Waits at most bound for the thread to
  // end; a thread still in a call the host never answered is left there
  // with all it holds: releasing a proxy to a hung host is itself a call
  // that waits, and the process ends around it.
  void Finish(std::function<void()> last, DWORD bound) noexcept;

 private:
  struct Call;
  struct State;
  static void Serve(const std::shared_ptr<State>& state);

  std::shared_ptr<State> state_;
  std::atomic<bool> stop_{false};
  bool finished_ = false;
};

}  // namespace rapporta::host
