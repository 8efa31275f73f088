#include "host/event_relay_win.h"

#include "common/check_win.h"
#include "common/com_result_win.h"

namespace rapporta::host {
namespace {

constexpr wchar_t kClassName[] = L"Rapporta.HostEvents";
constexpr UINT kChatText = WM_APP + 1;  // lParam: the TextView
constexpr UINT kClosing = WM_APP + 2;

void RegisterRelayClass(WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, kClassName, &windowClass)) return;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  CheckWin(RegisterClassExW(&windowClass), "RegisterClassEx");
}

}  // namespace

EventRelay::EventRelay(HostEvents& target) : target_(target) {
  RegisterRelayClass(&EventRelay::Proc);
  // A message-only window: never shown, never enumerated, only sent to.
  window_ = CheckWin(CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr),
                     "CreateWindowEx");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void EventRelay::Close() noexcept {
  if (const HWND window = window_.exchange(nullptr)) DestroyWindow(window);
}

void EventRelay::Relay(UINT message, const TextView* text) const {
  // A window already gone answers 0 at once: the event is dropped.
  const HWND window = window_;
  if (window == nullptr) return;
  const auto hr = static_cast<HRESULT>(
      SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(text)));
  CheckHr(hr, "HostEvents");
}

void EventRelay::ChatTextReceived(TextView text) { Relay(kChatText, &text); }

void EventRelay::Closing() { Relay(kClosing, nullptr); }

LRESULT CALLBACK EventRelay::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<EventRelay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || (message != kChatText && message != kClosing)) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // Nothing may leave a window procedure: a failure goes back to the host's
  // thread as the event's result.
  try {
    if (message == kChatText) {
      self->target_.ChatTextReceived(*reinterpret_cast<const TextView*>(lParam));
    } else {
      self->target_.Closing();
    }
    return S_OK;
  } catch (...) {
    return CaughtResult();
  }
}

}  // namespace rapporta::host
