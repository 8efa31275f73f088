#include "support/message_box_watcher_win.h"

#include <stdexcept>

namespace rapporta::test {
namespace {

MessageBoxWatcher* current = nullptr;  // one watcher at a time, on the test thread

std::wstring TextOf(HWND window) {
  if (window == nullptr) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The icon of a message box sits in a static control with id 20.
constexpr int kIconControlId = 20;

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer_(answer) {
  if (current != nullptr) throw std::logic_error("one MessageBoxWatcher at a time");
  hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
  if (hook_ == nullptr) throw std::runtime_error("SetWindowsHookEx failed");
  current = this;
}

MessageBoxWatcher::~MessageBoxWatcher() {
  UnhookWindowsHookEx(hook_);
  current = nullptr;
}

LRESULT CALLBACK MessageBoxWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current != nullptr) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring_view(className) == L"#32770") current->Seen(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxWatcher::Seen(HWND dialog) {
  ShownBox box;
  box.title = TextOf(dialog);
  box.text = TextOf(GetDlgItem(dialog, 0xffff));
  const HWND icon = GetDlgItem(dialog, kIconControlId);
  box.hasIcon = icon != nullptr && IsWindowVisible(icon) &&
                SendMessageW(icon, STM_GETICON, 0, 0) != 0;
  boxes_.push_back(box);
  if (handler_ && handler_(dialog)) return;
  // Posted: the box answers once its own loop runs.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
}

}  // namespace rapporta::test
