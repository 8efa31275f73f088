#include "chat/sending.h"

#include <gtest/gtest.h>

#include <tuple>

#include "recording_window.h"

namespace rapporta::test {
namespace {

// The empty line is the window tests' matter: Enter in the real box sends it.
TEST(Sending, SendChatMsgTellsTheHostFirstThenEchoesEmptiesAndFocuses) {
  const std::tuple<const char*, Arrange, Steps> cases[] = {
      {"a line, echoed with the call sign the host gives now", [](RecordingWindow&) {},
       {"send hello", "callsign", "log N0CALL>hello", "input=", "focus"}},
      {"a line received inside SendChat lands before the echo of what was sent; "
       "text put into the box meanwhile stays",
       [](RecordingWindow& w) {
         w.inSend = [&w] {
           w.SetChatText(u"incoming");
           w.input = u"next line";
         };
       },
       {"send hello", "log incoming", "callsign", "log N0CALL>hello", "focus"}},
      {"a failed send leaves log and input alone", [](RecordingWindow& w) { w.inSend = Fail; },
       {"send hello", "failure"}},
      {"a call sign that fails after the send: echoed with the start-up call sign, emptied, "
       "then reported",
       [](RecordingWindow& w) { w.inCallsign = Fail; },
       {"send hello", "callsign", "log JA1OLD>hello", "input=", "focus", "failure"}},
      {"without a host nothing happens", [](RecordingWindow& w) { w.hasHost = false; }, {}},
  };
  for (const auto& [what, arrange, steps] : cases) {
    RecordingWindow window;
    arrange(window);
    RecordFailure(window.steps, [&] { chat::SendChatMsg(window); });
    EXPECT_EQ(window.steps, steps) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
