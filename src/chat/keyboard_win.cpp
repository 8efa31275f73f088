#include "chat/keyboard_win.h"

#include <commctrl.h>

#include "chat/sending.h"
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
      if (wParam == kSendChar) {
        OwnerOf<InputKeys>(self).send_();
        return 0;
      }
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
    case WM_KEYDOWN: {
      LogKeys& keys = OwnerOf<LogKeys>(self);
      const LogKeyAction action = LogKeyDown(static_cast<int>(wParam), ModifierBits());
      keys.keyDownPassed_ = action == LogKeyAction::Pass;
      switch (action) {
        case LogKeyAction::Pass:
          break;
        case LogKeyAction::FocusInput:
          // The box itself has no use for Esc; inside a dialog manager's
          // care it would even close the window, so the key ends here.
          keys.focusInput_();
          return 0;
        case LogKeyAction::Cancel:
          return 0;
      }
      break;
    }
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
