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
  // The call sign read at start-up (the caption's).
  virtual Text StartupCallsign() = 0;
  virtual Text InputText() = 0;
  virtual void SetInputText(TextView text) = 0;
  virtual void FocusInput() = 0;
  virtual void SetChatText(TextView text) = 0;
};

// The host hears the line first, so a failed send leaves log and input as
// they were. The echo is the text the host was given, with the call sign
// read afresh for every line; the input is emptied only if it still holds
// that text. Without a host nothing happens and the typed text stays.
void SendChatMsg(SendingWindow& window);

}  // namespace rapporta::chat
