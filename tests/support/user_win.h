#pragma once
// The user, on a thread of its own: sees each dialog this process shows (a
// message box, the save dialog: window class "#32770") and answers it while
// the test's thread sits in the dialog's modal loop.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/text_win.h"
#include "support/pump_win.h"

namespace rapporta::test {

// What a dialog showed as it came up.
struct Shown {
  std::wstring title, text;  // text: a message box's
  HWND owner = nullptr;
  bool ownerEnabled = false;
  int formsVisible = 0;  // the program's windows on screen meanwhile
  HICON icon = nullptr;
  std::vector<int> buttons = {};  // those among IDOK..IDNO, in the dialog's order
  std::vector<std::wstring> fileTypes = {};  // the save dialog's list
};

struct Answer {
  std::wstring fileName = {};  // typed into the save dialog
  bool save = true;            // Save, else Cancel
  int button = IDOK;           // pressed on a box; OK on a box without it
  std::function<void(HWND)> first = nullptr;  // runs first, on the user's thread
};

// A process's top-level windows of the class on screen (this process's by
// default).
inline std::vector<HWND> VisibleWindows(const wchar_t* className,
                                        DWORD processId = GetCurrentProcessId()) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, nullptr));) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == processId && IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}

// The program's windows on screen.
inline int VisibleForms() { return static_cast<int>(VisibleWindows(L"Rapporta.Form1").size()); }

// The edit box of the save dialog's file name, inside cmb13 (a combo box in
// Wine, a ComboBoxEx32 in Windows); null in a message box.
inline HWND FileNameEdit(HWND dialog) {
  for (HWND inner = GetDlgItem(dialog, 0x47c); inner; inner = GetWindow(inner, GW_CHILD)) {
    if (const HWND edit = FindWindowExW(inner, nullptr, L"Edit", nullptr)) return edit;
  }
  return nullptr;
}

class User {
 public:
  User()
      : thread_([this] {
          std::vector<HWND> answered;  // those still open: a handle may come again
          while (!stop_) {
            const std::vector<HWND> open = VisibleWindows(L"#32770");
            for (HWND dialog : open) {
              if (std::ranges::find(answered, dialog) == answered.end()) Reply(dialog);
            }
            answered = open;
            Sleep(10);
          }
          stopped_ = true;
        }) {}
  ~User() {
    stop_ = true;
    // The user may be waiting for this thread to answer a message.
    PumpUntil([&] { return stopped_.load(); }, 10s);
    thread_.join();
  }
  void Set(Answer answer) {
    const std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
  }
  // What was shown since the last call.
  std::vector<Shown> Take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(seen_, {});
  }

 private:
  void Reply(HWND dialog) {
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
      std::wstring item(SendMessageW(types, CB_GETLBTEXTLEN, i, 0), L'\0');
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

  std::mutex mutex_;
  Answer answer_;
  std::vector<Shown> seen_;
  std::atomic<bool> stop_{false}, stopped_{false};
  std::thread thread_;
};

}  // namespace rapporta::test
