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

}  // namespace rapporta::chat
