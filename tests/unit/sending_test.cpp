#include "chat/sending.h"

#include <gtest/gtest.h>

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

TEST(Sending, SendChatMsgTellsTheHostFirstThenEchoesEmptiesAndFocuses) {
  const struct {
    const char* what;
    std::function<void(SendingWindow&)> setUp;
    Steps steps;
  } cases[] = {
      {"a line", [](SendingWindow&) {},
       {"send hello", "callsign", "log N0CALL>hello", "input=", "focus"}},
      {"an empty line is sent too", [](SendingWindow& w) { w.input = u""; },
       {"send ", "callsign", "log N0CALL>", "input=", "focus"}},
      {"a line received inside SendChat lands before the echo of what was sent; "
       "text put into the box meanwhile stays",
       [](SendingWindow& w) {
         w.host.duringSend = [&w] {
           w.SetChatText(u"incoming");
           w.input = u"next line";
         };
       },
       {"send hello", "log incoming", "callsign", "log N0CALL>hello", "focus"}},
      {"a failed send leaves log and input alone", [](SendingWindow& w) { w.host.failSend = true; },
       {"send hello"}},
      {"a call sign that fails after the send: echoed with the start-up call sign, emptied, "
       "then reported",
       [](SendingWindow& w) { w.host.failCallsign = true; },
       {"send hello", "callsign", "log JA1OLD>hello", "input=", "focus"}},
      {"without a host nothing happens", [](SendingWindow& w) { w.connected = false; }, {}},
  };
  for (const auto& c : cases) {
    SendingWindow window;
    c.setUp(window);
    try {
      chat::SendChatMsg(window);
    } catch (const Failure&) {
      EXPECT_TRUE(window.host.failSend || window.host.failCallsign) << c.what;
    }
    EXPECT_EQ(window.steps, c.steps) << c.what;
  }
}

TEST(Sending, TheCallsignIsReadAfreshForEveryLine) {
  SendingWindow window;
  chat::SendChatMsg(window);
  window.host.callsign = u"JA1ZZZ";
  window.input = u"again";
  chat::SendChatMsg(window);
  EXPECT_EQ(window.steps.at(7), "log JA1ZZZ>again");
}

}  // namespace
}  // namespace rapporta::test
