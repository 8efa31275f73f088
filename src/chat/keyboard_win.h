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
// shortcut's, so the keyboard never edits the log. That covers the ways the
// keyboard reaches the box's own menu (Shift+F10, the Apps key) and the input
// method, which the box does without. The mouse menu stays: menuLoop hears
// when it opens (true) and when it has closed (false).
class LogKeys {
 public:
  LogKeys(HWND log, std::function<void()> focusInput, std::function<void(bool)> menuLoop);

 private:
  // True when the key is cancelled. A system key is one pressed with Alt, or
  // F10.
  bool lChat_KeyDown(int keyCode, bool systemKey);
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR id, DWORD_PTR self);
  std::function<void()> focusInput_;
  std::function<void(bool)> menuLoop_;
  bool keyDownPassed_ = false;
  WPARAM cancelledSysKey_ = 0;  // its key-up is cancelled too
  Subclass subclass_;
};

}  // namespace rapporta::chat
