#include "chat/sending.h"

#include <gtest/gtest.h>

#include <tuple>

#include "recording_host.h"

namespace rapporta::test {
namespace {

class SendingWindow : public chat::SendingWindow {
 public:
  Steps steps;
  RecordingHost host{steps};
  bool connected = true;
  Text input = u"hello";
  host::Host* Echo() override { return connected ? &host : nullptr; }
  Text StartupCallsign() override { return u"JA1OLD"; }
  Text InputText() override { return input; }
  void SetInputText(TextView text) override {
    steps.push_back("input=" + Narrow(text));
    input = Text(text);
  }
  void FocusInput() override { steps.push_back("focus"); }
  void SetChatText(TextView text) override { steps.push_back("log " + Narrow(text)); }
};

using Arrange = void (*)(SendingWindow&);

TEST(Sending, SendChatMsgTellsTheHostFirstThenEchoesEmptiesAndFocuses) {
  const std::tuple<const char*, Arrange, Steps> cases[] = {
      {"a line, echoed with the call sign the host gives now", [](SendingWindow&) {},
       {"send hello", "callsign", "log N0CALL>hello", "input=", "focus"}},
      {"an empty line is sent too", [](SendingWindow& w) { w.input = u""; },
       {"send ", "callsign", "log N0CALL>", "input=", "focus"}},
      {"a line received inside SendChat lands before the echo of what was sent; "
       "text put into the box meanwhile stays",
       [](SendingWindow& w) {
         w.host.inSend = [&w] {
           w.SetChatText(u"incoming");
           w.input = u"next line";
         };
       },
       {"send hello", "log incoming", "callsign", "log N0CALL>hello", "focus"}},
      {"a failed send leaves log and input alone", [](SendingWindow& w) { w.host.inSend = Fail; },
       {"send hello", "failure"}},
      {"a call sign that fails after the send: echoed with the start-up call sign, emptied, "
       "then reported",
       [](SendingWindow& w) { w.host.inCallsign = Fail; },
       {"send hello", "callsign", "log JA1OLD>hello", "input=", "focus", "failure"}},
      {"without a host nothing happens", [](SendingWindow& w) { w.connected = false; }, {}},
  };
  for (const auto& [what, arrange, steps] : cases) {
    SendingWindow window;
    arrange(window);
    try {
      chat::SendChatMsg(window);
    } catch (const Failure&) {
      window.steps.push_back("failure");
    }
    EXPECT_EQ(window.steps, steps) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
