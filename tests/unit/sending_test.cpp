#include "chat/sending.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace rapporta::test {
namespace {

using Steps = std::vector<std::string>;

// Enough to compare: keeps the low byte of each unit.
std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

// The window and its host in one: every call either gets is written down, in
// order, as readable words.
class RecordingWindow : public chat::SendingWindow, public host::Host {
 public:
  Steps steps;
  bool hasHost = true;  // start-up made a host
  Text input = u"hello";
  std::function<void()> inSend = [] {};  // run inside SendChat, once written down

  Text LocalCallsign() override {
    steps.push_back("callsign");
    return u"N0CALL";
  }
  void SendChat(TextView text) override {
    steps.push_back("send " + Narrow(text));
    inSend();
  }
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

// The orders of steps. Lines typed while a send is out, and a failed send
// with lines behind it, are the window tests' (the real keys, a slow host:
// window/sending_test.cpp); a call sign that cannot be read after a send,
// echoing the line with the call sign of start-up, is the slow host's
// (reliability/slow_host_test.cpp).
TEST(Sending, EachLineIsTakenOutSentOnceInOrderAndEchoedOrPutBack) {
  using Act = std::function<void(RecordingWindow&, chat::Sender&)>;
  const std::tuple<const char*, Act, Steps, Text> cases[] = {
      {"a line: out of the box, then echoed with the call sign the host gives now",
       [](RecordingWindow&, chat::Sender&) {},
       {"input=", "send hello", "callsign", "log N0CALL>hello", "focus"}, u""},
      {"a line received inside SendChat lands before the echo; text typed meanwhile stays",
       [](RecordingWindow& w, chat::Sender&) {
         w.inSend = [&w] {
           w.SetChatText(u"incoming");
           w.input = u"next";
         };
       },
       {"input=", "send hello", "log incoming", "callsign", "log N0CALL>hello", "focus"},
       u"next"},
      {"without a host nothing happens", [](RecordingWindow& w, chat::Sender&) { w.hasHost = false; },
       {}, u"hello"},
      {"a send given up and then carried out: echoed now, and the box lets go of that line",
       [](RecordingWindow& w, chat::Sender& s) {
         w.hasHost = false;
         s.SentLate(w, u"", u"hello");
         s.SentLate(w, u"JA2NEW", u"other");
       },
       {"log JA1OLD>hello", "input=", "log JA2NEW>other"}, u""},
  };
  for (const auto& [what, arrange, steps, box] : cases) {
    RecordingWindow window;
    chat::Sender sender;
    arrange(window, sender);
    sender.SendChatMsg(window);
    EXPECT_EQ(window.steps, steps) << what;
    EXPECT_EQ(Narrow(window.input), Narrow(box)) << what;
    EXPECT_FALSE(sender.Sending()) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
