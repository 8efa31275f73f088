#include "chat/sending.h"

#include <exception>

#include "common/failure.h"

namespace rapporta::chat {

void Sender::SendChatMsg(SendingWindow& window) {
  host::Host* echo = window.Echo();
  if (echo == nullptr) return;
  Text line = window.InputText();
  if (sending_ && line.empty()) return;
  queued_.push_back(std::move(line));
  window.SetInputText(Text());
  if (sending_) return;  // the running send takes it in turn
  SendQueued(window, *echo);
}

void Sender::SendQueued(SendingWindow& window, host::Host& echo) {
  sending_ = true;
  try {
    while (!queued_.empty()) {
      echo.SendChat(queued_.front());
      const Text sent = std::move(queued_.front());
      queued_.pop_front();
      Text callsign;
      try {
        callsign = echo.LocalCallsign();
      } catch (const Failure&) {
        Echo(window, window.StartupCallsign(), sent);
        throw;
      }
      Echo(window, std::move(callsign), sent);
    }
  } catch (...) {
    sending_ = false;
    PutBack(window);
    throw;
  }
  sending_ = false;
  window.FocusInput();
}

void Sender::PutBack(SendingWindow& window) {
  // The box holds one line: the unsent lines come back in the order they
  // were typed, a space apart, and what was typed since stays after them.
  Text text;
  queued_.push_back(window.InputText());
  for (const Text& line : queued_) {
    if (line.empty()) continue;
    if (!text.empty()) text.push_back(u' ');
    text.append(line);
  }
  queued_.clear();
  window.SetInputText(text);
}

void Sender::SentLate(SendingWindow& window, TextView callsign, TextView line) {
  Echo(window, callsign.empty() ? window.StartupCallsign() : Text(callsign), line);
  if (window.InputText() == line) window.SetInputText(Text());
}

void Sender::Echo(SendingWindow& window, Text callsign, TextView line) {
  callsign.push_back(u'>');
  callsign.append(line);
  window.SetChatText(callsign);
}

}  // namespace rapporta::chat
