#pragma once
// Sending a typed line, apart from the window system.
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

}  // namespace rapporta::chat
