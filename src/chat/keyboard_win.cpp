#include "chat/keyboard_win.h"

#include <commctrl.h>

#include "chat/key_rules.h"
#include "common/check_win.h"

namespace rapporta::chat {
namespace {

constexpr UINT_PTR kSubclassId = 1;

int ModifierBits() {
  int bits = 0;
  if (GetKeyState(VK_SHIFT) < 0) bits |= kShiftBit;
  if (GetKeyState(VK_CONTROL) < 0) bits |= kCtrlBit;
  if (GetKeyState(VK_MENU) < 0) bits |= kAltBit;
  return bits;
}

template <typename Owner>
Owner& OwnerOf(DWORD_PTR data) {
  return *reinterpret_cast<Owner*>(data);
}

}  // namespace

Subclass::Subclass(HWND control, SUBCLASSPROC proc, void* owner)
    : control_(control), proc_(proc) {
  CheckWin(SetWindowSubclass(control, proc, kSubclassId, reinterpret_cast<DWORD_PTR>(owner)),
           "SetWindowSubclass");
}

Subclass::~Subclass() {
  if (IsWindow(control_)) RemoveWindowSubclass(control_, proc_, kSubclassId);
}

bool InputKeys::sInput_KeyPress(char16_t keyAscii) {
  if (keyAscii != kSendChar) return false;
  send_();
  return true;
}

bool LogKeys::lChat_KeyDown(int keyCode) {
  const LogKeyAction action = LogKeyDown(keyCode, ModifierBits());
  keyDownPassed_ = action == LogKeyAction::Pass;
  // The box itself has no use for Esc; inside a dialog manager's care it
  // would even close the window, so the key ends here.
  if (action == LogKeyAction::FocusInput) focusInput_();
  return action != LogKeyAction::Pass;
}

LRESULT CALLBACK InputKeys::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR, DWORD_PTR self) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(window, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg != nullptr &&
          ((msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) ||
           (msg->message == WM_CHAR && msg->wParam == kSendChar))) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_CHAR:
      if (OwnerOf<InputKeys>(self).sInput_KeyPress(static_cast<char16_t>(wParam))) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &Proc, kSubclassId);
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK LogKeys::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR, DWORD_PTR self) {
  switch (message) {
    case WM_KEYDOWN:
      if (OwnerOf<LogKeys>(self).lChat_KeyDown(static_cast<int>(wParam))) return 0;
      break;
    case WM_SYSKEYDOWN:
      // Alt+Backspace would undo; the other system keys (Alt+F4, the menu)
      // belong to the window.
      if (wParam == VK_BACK) return 0;
      break;
    case WM_CHAR:
      if (!LogKeepsChar(static_cast<char16_t>(wParam), OwnerOf<LogKeys>(self).keyDownPassed_))
        return 0;
      break;
    case WM_UNICHAR:
    case WM_IME_CHAR:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &Proc, kSubclassId);
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace rapporta::chat
