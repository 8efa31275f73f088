#include "chat/key_rules.h"

namespace rapporta::chat {

LogKeyAction LogKeyDown(int keyCode, int shift) {
  if (shift == kCtrlBit && keyCode == kKeyC) return LogKeyAction::Pass;
  if (keyCode == kKeyEscape) return LogKeyAction::FocusInput;
  return LogKeyAction::Cancel;
}

LogKeyAction LogSysKeyDown(int keyCode, int shift) {
  if ((shift & kAltBit) == 0) return LogKeyDown(keyCode, shift);
  return keyCode == kKeyBackspace ? LogKeyAction::Cancel : LogKeyAction::Pass;
}

}  // namespace rapporta::chat
