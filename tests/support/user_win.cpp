#include "support/user_win.h"

#include <algorithm>
#include <utility>

#include "common/text_win.h"
#include "support/pump_win.h"

namespace rapporta::test {

std::vector<HWND> VisibleWindows(const wchar_t* className, DWORD processId) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, nullptr));) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == processId && IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}

HWND FileNameEdit(HWND dialog) {
  for (HWND inner = GetDlgItem(dialog, 0x47c); inner; inner = GetWindow(inner, GW_CHILD)) {
    if (const HWND edit = FindWindowExW(inner, nullptr, L"Edit", nullptr)) return edit;
  }
  return nullptr;
}

int VisibleForms() { return static_cast<int>(VisibleWindows(L"Rapporta.Form1").size()); }

User::User()
    : thread_([this] {
        std::vector<HWND> answered;  // those still open: a handle may come again
        while (!stop_) {
          const std::vector<HWND> open = VisibleWindows(L"#32770");
          for (HWND dialog : open) {
            if (std::find(answered.begin(), answered.end(), dialog) == answered.end()) Reply(dialog);
          }
          answered = open;
          Sleep(10);
        }
        stopped_ = true;
      }) {}

User::~User() {
  stop_ = true;
  // The user may be waiting for this thread to answer a message.
  PumpUntil([&] { return stopped_.load(); }, 10s);
  thread_.join();
}

void User::Set(Answer answer) {
  const std::lock_guard lock(mutex_);
  answer_ = std::move(answer);
}

std::vector<Shown> User::Take() {
  const std::lock_guard lock(mutex_);
  return std::exchange(seen_, {});
}

void User::Reply(HWND dialog) {
  Shown shown{WindowText(dialog), WindowText(GetDlgItem(dialog, 0xffff)),
              GetWindow(dialog, GW_OWNER)};
  shown.ownerEnabled = shown.owner && IsWindowEnabled(shown.owner);
  shown.formsVisible = VisibleForms();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id >= IDOK && id <= IDNO) shown.buttons.push_back(id);
    if (!shown.icon) shown.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  }
  const HWND types = GetDlgItem(dialog, 0x470);  // cmb1
  for (int i = 0; i < SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, i, 0)), L'\0');
    SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    shown.fileTypes.push_back(item);
  }
  Answer answer;
  {
    const std::lock_guard lock(mutex_);
    seen_.push_back(shown);
    answer = answer_;
  }
  if (answer.first) answer.first(dialog);
  int button = GetDlgItem(dialog, answer.button) ? answer.button : IDOK;
  if (const HWND name = FileNameEdit(dialog)) {
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.fileName.c_str()));
    button = answer.save ? IDOK : IDCANCEL;
  }
  // Posted: the dialog answers once its own loop runs.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace rapporta::test
