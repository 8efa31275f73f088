#pragma once
// Carries the host's events from the threads the host calls the event sink
// on to the window's thread, where they are handled in the order the host
// raised them. The host's call returns as soon as its event is queued: it
// never waits for the window, and the window never acts while the host's
// call into it is still in progress (a Closing among them).
#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "host/host.h"

namespace rapporta::host {

class EventRelay final : public HostEvents {
 public:
  // On the window's thread: events reach target there.
  explicit EventRelay(HostEvents& target);
  EventRelay(const EventRelay&) = delete;
  EventRelay& operator=(const EventRelay&) = delete;
  ~EventRelay() override { Close(); }
  // On the window's thread: no event reaches the target any more; those
  // still queued are dropped.
  void Close() noexcept;

  // From any thread; each returns once the event is queued.
  void ChatTextReceived(TextView text) override;
  void Closing() override;
  void SentLate(TextView callsign, TextView line) override;

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // An event is the target's call that handles it, with its own copy of
  // what the host passed.
  using Event = std::function<void(HostEvents&)>;
  void Queue(Event event);
  void Deliver();

  HostEvents& target_;
  std::mutex mutex_;
  std::deque<Event> events_;
  HWND window_ = nullptr;  // under mutex_
  bool wakePosted_ = false;  // under mutex_: a wake-up is on its way
};

}  // namespace rapporta::host
