#pragma once
// Sending typed lines, apart from the window system.
#include <deque>

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

// The window's outgoing lines. A send can take the host a while, and the
// window goes on meanwhile, so the line is taken out of the box when it is
// handed over: what the user types next is the next line, never joined to
// the one being sent. Lines finished while one is out wait here and go
// after it, each once, in order. (Holding the keys until the host answers,
// as COM's own wait does, was the other way: but held keys typed behind a
// send that fails land in its failure report, or after the line it left in
// the box, joining the two.)
class Sender {
 public:
  // Enter or "Send": the box's line goes after the lines before it. The host
  // hears each line first; the echo is the text the host was given, with the
  // call sign read afresh for every line. An empty box sends the empty line,
  // except while a line is out: that Enter meant the line already handed
  // over. Without a host nothing happens and the typed text stays.
  // A failed send puts the failed line and the lines behind it back into the
  // box, ahead of anything typed since, and throws; so does a call sign that
  // cannot be read, after echoing the sent line with the call sign of
  // start-up, so that nobody sends it twice.
  void SendChatMsg(SendingWindow& window);

  // A send given up at its bound that the host carried out after all: the
  // log shows it now, and the box lets go of it if it still holds just it.
  // An empty callsign (its read failed) stands for the call sign of start-up.
  void SentLate(SendingWindow& window, TextView callsign, TextView line);

  bool Sending() const { return sending_; }

 private:
  void SendQueued(SendingWindow& window, host::Host& echo);
  void PutBack(SendingWindow& window);
  void Echo(SendingWindow& window, Text callsign, TextView line);

  std::deque<Text> queued_;  // the front one is out while sending_
  bool sending_ = false;
};

}  // namespace rapporta::chat
