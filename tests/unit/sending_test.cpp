#include "chat/sending.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>

#include "recording_window.h"

namespace rapporta::test {
namespace {

// The orders of steps; lines typed while a send is out, and a failed send
// with lines behind it, are the window tests' (the real keys, a slow host).
TEST(Sending, EachLineIsTakenOutSentOnceInOrderAndEchoedOrPutBack) {
  using Act = std::function<void(RecordingWindow&, chat::Sender&)>;
  const auto enter = [](RecordingWindow& w, chat::Sender& s, const char16_t* typed) {
    w.input += typed;
    s.SendChatMsg(w);
  };
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
      {"a call sign that fails after the send: echoed with the start-up call sign, the lines "
       "behind put back, then reported",
       [enter](RecordingWindow& w, chat::Sender& s) {
         w.inSend = [&w, &s, enter, first = true]() mutable {
           if (std::exchange(first, false)) enter(w, s, u"two");
         };
         w.inCallsign = Fail;
       },
       {"input=", "send hello", "input=", "callsign", "log JA1OLD>hello", "input=two", "failure"},
       u"two"},
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
    RecordFailure(window.steps, [&] {
      arrange(window, sender);
      sender.SendChatMsg(window);
    });
    EXPECT_EQ(window.steps, steps) << what;
    EXPECT_EQ(Narrow(window.input), Narrow(box)) << what;
    EXPECT_FALSE(sender.Sending()) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
