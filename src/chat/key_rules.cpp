#include "chat/key_rules.h"

namespace rapporta::chat {

LogKeyAction LogKeyDown(int keyCode, int shift) {
  if (shift == kCtrlBit && keyCode == kKeyC) return LogKeyAction::Pass;
  if (keyCode == kKeyEscape) return LogKeyAction::FocusInput;
  return LogKeyAction::Cancel;
}

}  // namespace rapporta::chat
