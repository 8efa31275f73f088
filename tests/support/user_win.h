#pragma once
// The user, on a thread of its own: sees each dialog this process shows (a
// message box, the save dialog: window class "#32770") and answers it while
// the test's thread sits in the dialog's modal loop.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
std::vector<HWND> VisibleWindows(const wchar_t* className,
                                 DWORD processId = GetCurrentProcessId());
// The program's windows on screen.
int VisibleForms();
// The edit box of the save dialog's file name, inside cmb13 (a combo box in
// Wine, a ComboBoxEx32 in Windows); null in a message box.
HWND FileNameEdit(HWND dialog);

class User {
 public:
  User();
  ~User();
  void Set(Answer answer);
  std::vector<Shown> Take();  // what was shown since the last call

 private:
  void Reply(HWND dialog);

  std::mutex mutex_;
  Answer answer_;
  std::vector<Shown> seen_;
  std::atomic<bool> stop_{false}, stopped_{false};
  std::thread thread_;
};

}  // namespace rapporta::test
