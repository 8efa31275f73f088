#pragma once
// Watches the dialogs this thread opens (message boxes and the common
// dialogs, window class "#32770") through a WH_CBT hook: records each one and
// answers it, so tests can drive code that asks the user.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace rapporta::test {

struct ShownBox {
  std::wstring title;
  std::wstring text;  // a message box's text: the static control with id 0xffff
  bool hasIcon = false;
};

class MessageBoxWatcher {
 public:
  // answer: the button id every box is answered with (IDOK, IDYES, IDNO...).
  explicit MessageBoxWatcher(int answer = IDOK);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  void SetAnswer(int answer) { answer_ = answer; }
  // Called with each dialog as it becomes active, after it is recorded;
  // returning true means the handler deals with the dialog itself and no
  // answer is posted.
  void SetHandler(std::function<bool(HWND dialog)> handler) { handler_ = std::move(handler); }
  const std::vector<ShownBox>& Boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Seen(HWND dialog);

  HHOOK hook_ = nullptr;
  int answer_;
  std::function<bool(HWND)> handler_;
  std::vector<ShownBox> boxes_;
};

}  // namespace rapporta::test
