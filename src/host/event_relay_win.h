#pragma once
// Carries the host's events from the threads the host calls the event sink
// on to the window's thread, where they are handled, and waits for each to be
// handled there, as a call into the window's own apartment would.
#include <windows.h>

#include <atomic>

#include "host/host.h"

namespace rapporta::host {

class EventRelay final : public HostEvents {
 public:
  // On the window's thread: events reach target there.
  explicit EventRelay(HostEvents& target);
  EventRelay(const EventRelay&) = delete;
  EventRelay& operator=(const EventRelay&) = delete;
  ~EventRelay() override { Close(); }
  // On the window's thread: no event reaches the target any more; one still
  // on its way is dropped.
  void Close() noexcept;

  // From any thread; each returns once the window's thread has handled it.
  void ChatTextReceived(TextView text) override;
  void Closing() override;

 private:
  void Relay(UINT message, const TextView* text) const;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HostEvents& target_;
  std::atomic<HWND> window_{nullptr};
};

}  // namespace rapporta::host
