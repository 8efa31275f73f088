#include "host/event_relay_win.h"

#include <utility>

#include "common/bound_window_win.h"
#include "common/check_win.h"

namespace rapporta::host {
namespace {

constexpr wchar_t kClassName[] = L"Rapporta.HostEvents";
constexpr UINT kDeliver = WM_APP + 1;

}  // namespace

EventRelay::EventRelay(HostEvents& target) : target_(target) {
  BoundWindow<EventRelay>::Register(kClassName);
  // A message-only window: never shown, never enumerated, only posted to.
  window_ = CheckWin(CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), this),
                     "CreateWindowEx");
}

void EventRelay::Close() noexcept {
  HWND window = nullptr;
  {
    const std::lock_guard lock(mutex_);
    window = std::exchange(window_, nullptr);
    events_.clear();
  }
  if (window != nullptr) DestroyWindow(window);
}

void EventRelay::Queue(Event event) {
  const std::lock_guard lock(mutex_);
  if (window_ == nullptr) return;  // the window is gone: dropped
  events_.push_back(std::move(event));
  // One wake-up serves every event queued before it is handled.
  if (wakePosted_) return;
  if (!PostMessageW(window_, kDeliver, 0, 0)) {
    // A full queue: the host hears that its event did not arrive.
    events_.pop_back();
    ThrowLastError("PostMessage");
  }
  wakePosted_ = true;
}

void EventRelay::ChatTextReceived(TextView text) {
  Queue([text = Text(text)](HostEvents& target) { target.ChatTextReceived(text); });
}

void EventRelay::Closing() {
  Queue([](HostEvents& target) { target.Closing(); });
}

void EventRelay::SentLate(TextView callsign, TextView line) {
  Queue([callsign = Text(callsign), line = Text(line)](HostEvents& target) {
    target.SentLate(callsign, line);
  });
}

void EventRelay::Deliver() {
  // One event per turn of the window's loop, taken under the lock; the rest
  // wait for the next wake-up, so a handler that waits for the host sees the
  // later events after its own, in order.
  Event event;
  {
    const std::lock_guard lock(mutex_);
    wakePosted_ = false;
    if (events_.empty() || window_ == nullptr) return;
    event = std::move(events_.front());
    events_.pop_front();
    // Should this wake-up not go out (a full queue), the next event queued
    // posts one: the rest are never left waiting for nothing.
    wakePosted_ = !events_.empty() && PostMessageW(window_, kDeliver, 0, 0) != FALSE;
  }
  event(target_);
}

LRESULT EventRelay::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kDeliver) return DefWindowProcW(window, message, wParam, lParam);
  // The target handles its own failures; nothing may leave a window procedure.
  try {
    Deliver();
  } catch (...) {
  }
  return 0;
}

}  // namespace rapporta::host
