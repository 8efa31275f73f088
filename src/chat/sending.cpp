#include "chat/sending.h"

#include <exception>

#include "common/failure.h"

namespace rapporta::chat {

void SendChatMsg(SendingWindow& window) {
  host::Host* echo = window.Echo();
  if (echo == nullptr) return;
  // Read once: the box may change while the host has the line (a host that
  // is slow to answer), and the echo must show what the host was given.
  const Text sent = window.InputText();
  echo->SendChat(sent);
  // The line is sent now. A call sign that cannot be read is still
  // reported, but only after the line is echoed (with the call sign of
  // start-up) and taken out of the box, so that nobody sends it twice.
  std::exception_ptr callsignFailure;
  Text line;
  try {
    line = echo->LocalCallsign();
  } catch (const Failure&) {
    callsignFailure = std::current_exception();
    line = window.StartupCallsign();
  }
  line.push_back(u'>');
  line.append(sent);
  window.SetChatText(line);
  // Text put into the box meanwhile is the next line: it stays.
  if (window.InputText() == sent) window.SetInputText(Text());
  window.FocusInput();
  if (callsignFailure) std::rethrow_exception(callsignFailure);
}

}  // namespace rapporta::chat
