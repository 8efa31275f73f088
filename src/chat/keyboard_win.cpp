#include "chat/keyboard_win.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

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

bool LogKeys::lChat_KeyDown(int keyCode, bool systemKey) {
  const LogKeyAction action = systemKey ? LogSysKeyDown(keyCode, ModifierBits())
                                        : LogKeyDown(keyCode, ModifierBits());
  if (systemKey) {
    cancelledSysKey_ = action == LogKeyAction::Pass ? 0 : static_cast<WPARAM>(keyCode);
  } else {
    keyDownPassed_ = action == LogKeyAction::Pass;
  }
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

LogKeys::LogKeys(HWND log, std::function<void()> focusInput,
                 std::function<void(bool)> menuLoop)
    : focusInput_(std::move(focusInput)),
      menuLoop_(std::move(menuLoop)),
      subclass_(log, &Proc, this) {
  // No input method: a finished composition would be inserted by the box
  // itself, past every key rule.
  ImmAssociateContext(log, nullptr);
}

LRESULT CALLBACK LogKeys::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR, DWORD_PTR self) {
  LogKeys& keys = OwnerOf<LogKeys>(self);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (keys.lChat_KeyDown(static_cast<int>(wParam), message == WM_SYSKEYDOWN)) return 0;
      break;
    case WM_SYSKEYUP:
      // F10's key-up is what enters the window's menu mode.
      if (wParam == keys.cancelledSysKey_) {
        keys.cancelledSysKey_ = 0;
        return 0;
      }
      break;
    case WM_CONTEXTMENU: {
      // At (-1, -1) the keyboard asked for it: the keyboard opens no menu here.
      if (GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) return 0;
      // The box runs its menu itself, a modal loop inside this message.
      keys.menuLoop_(true);
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      keys.menuLoop_(false);
      return result;
    }
    case WM_CHAR:
      if (!LogKeepsChar(static_cast<char16_t>(wParam), keys.keyDownPassed_)) return 0;
      break;
    case WM_UNICHAR:
    case WM_IME_CHAR:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &Proc, kSubclassId);
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace rapporta::chat
