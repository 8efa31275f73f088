#pragma once
// The key rules of the two text boxes, hooked into the controls with
// SetWindowSubclass for as long as the object lives.
#include <windows.h>

#include <commctrl.h>

#include <functional>

namespace rapporta::chat {

class Subclass {
 public:
  Subclass(HWND control, SUBCLASSPROC proc, void* owner);
  ~Subclass();
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

 private:
  HWND control_;
  SUBCLASSPROC proc_;
};

// sInput_KeyPress: character 13 sends and is consumed. The box asks the
// dialog manager for Enter, so Tab navigation does not swallow it.
class InputKeys {
 public:
  InputKeys(HWND input, std::function<void()> send)
      : send_(std::move(send)), subclass_(input, &Proc, this) {}

 private:
  // True when the character is consumed.
  bool sInput_KeyPress(char16_t keyAscii);
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR id, DWORD_PTR self);
  std::function<void()> send_;
  Subclass subclass_;
};

// lChat_KeyDown: Ctrl+C passes, Esc moves the focus to the input, every other
// key is cancelled; typed characters are dropped too, except the copy
// shortcut's, so the keyboard never edits the log.
class LogKeys {
 public:
  LogKeys(HWND log, std::function<void()> focusInput)
      : focusInput_(std::move(focusInput)), subclass_(log, &Proc, this) {}

 private:
  // True when the key is cancelled.
  bool lChat_KeyDown(int keyCode);
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR id, DWORD_PTR self);
  std::function<void()> focusInput_;
  bool keyDownPassed_ = false;
  Subclass subclass_;
};

}  // namespace rapporta::chat
