#pragma once
// Sending a typed line and the key rules of the two text boxes, apart from
// the window system.
#include "common/text.h"
#include "host/host.h"

namespace rapporta::chat {

// What sending needs of the window.
class SendingWindow {
 public:
  virtual ~SendingWindow() = default;
  // The window's host; null when start-up got none.
  virtual host::Host* Echo() = 0;
  virtual Text InputText() = 0;
  virtual void SetInputText(TextView text) = 0;
  virtual void FocusInput() = 0;
  virtual void SetChatText(TextView text) = 0;
};

// The host hears the line first, so a failed send leaves log and input as
// they were. The call sign is read afresh for every line, and the input is
// read again for the echo. Without a host nothing happens and the typed text
// stays.
void SendChatMsg(SendingWindow& window);

// Typing character 13 (Enter, or anything else that types it) sends.
inline constexpr char16_t kSendChar = 13;

// Modifier bits of a key-down, added together.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyC = 67;

enum class LogKeyAction {
  Pass,        // Ctrl+C: the box copies the selection
  FocusInput,  // Esc
  Cancel,      // every other key
};

// lChat_KeyDown: first match wins.
LogKeyAction LogKeyDown(int keyCode, int shift);

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
