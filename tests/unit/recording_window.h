#pragma once
// The window and its host in one, for the order-of-steps tests: every call
// either gets is written down, in order, as readable words.
#include <functional>
#include <string>
#include <vector>

#include "chat/sending.h"
#include "common/failure.h"
#include "host/host.h"

namespace rapporta::test {

using Steps = std::vector<std::string>;

// Enough to compare: keeps the low byte of each unit.
inline std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

// Fails a host call as a host that stopped answering would.
inline void Fail() { throw Failure("host call", kNoAnswer); }

// Runs a handler; a failure it lets through is written down as the last step.
template <class Handler>
void RecordFailure(Steps& steps, Handler handler) {
  try {
    handler();
  } catch (const Failure&) {
    steps.push_back("failure");
  }
}

class RecordingWindow : public chat::SendingWindow, public host::Host {
 public:
  Steps steps;
  bool hasHost = true;   // start-up made a host
  Text input = u"hello";
  Text callsign = u"N0CALL";
  // Run inside their call, once it is written down; Fail fails it.
  std::function<void()> inSend = [] {};
  std::function<void()> inCallsign = [] {};

  // The host.
  Text LocalCallsign() override {
    steps.push_back("callsign");
    inCallsign();
    return callsign;
  }
  void SendChat(TextView text) override {
    steps.push_back("send " + Narrow(text));
    inSend();
  }

  // What sending needs.
  host::Host* Echo() override { return hasHost ? this : nullptr; }
  Text StartupCallsign() override { return u"JA1OLD"; }
  Text InputText() override { return input; }
  void SetInputText(TextView text) override {
    steps.push_back("input=" + Narrow(text));
    input = Text(text);
  }
  void FocusInput() override { steps.push_back("focus"); }
  void SetChatText(TextView text) override { steps.push_back("log " + Narrow(text)); }
};

}  // namespace rapporta::test
