#include "chat/sending.h"

namespace rapporta::chat {

void SendChatMsg(SendingWindow& window) {
  host::Host* echo = window.Echo();
  if (echo == nullptr) return;
  echo->SendChat(window.InputText());
  Text line = echo->LocalCallsign();
  line.push_back(u'>');
  line.append(window.InputText());
  window.SetChatText(line);
  window.SetInputText(Text());
  window.FocusInput();
}

LogKeyAction LogKeyDown(int keyCode, int shift) {
  if (shift == kCtrlBit && keyCode == kKeyC) return LogKeyAction::Pass;
  if (keyCode == kKeyEscape) return LogKeyAction::FocusInput;
  return LogKeyAction::Cancel;
}

}  // namespace rapporta::chat
