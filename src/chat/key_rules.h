#pragma once
// The key rules of the two text boxes and the time switch, apart from the
// window system: what sInput_KeyPress, lChat_KeyDown and C_Time_Click decide.

namespace rapporta::chat {

// sInput_KeyPress: typing character 13 (Enter, or anything else that types
// it) sends, and the character is consumed.
inline constexpr char16_t kSendChar = 13;

// Modifier bits of a key-down, added together.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyC = 67;

enum class LogKeyAction {
  Pass,        // Ctrl+C: the box copies the selection
  FocusInput,  // Esc
  Cancel,      // every other key
};

// lChat_KeyDown's rule: first match wins.
LogKeyAction LogKeyDown(int keyCode, int shift);

// A system key in the log box. With Alt held it belongs to the window
// (Alt+F4, Alt+Space, Alt+Tab) and passes, except Alt+Backspace, which would
// undo in the box. Without Alt (F10, Shift+F10, which would open the box's
// own menu) it is a key like any other.
LogKeyAction LogSysKeyDown(int keyCode, int shift);

// The log box drops every typed character except the one the passed Ctrl+C
// types (U+0003), which is how the box copies, so the keyboard never edits
// the log. Ctrl+Shift+C types U+0003 too, but its key-down was cancelled.
inline constexpr char16_t kCopyChar = 3;
inline bool LogKeepsChar(char16_t c, bool keyDownPassed) {
  return keyDownPassed && c == kCopyChar;
}

// C_Time's value (0 unchecked, 1 checked, 2 grayed) as bShowTime.
inline bool ShowTimeFromCheck(int value) { return value != 0; }

}  // namespace rapporta::chat
