#include "connection/startup.h"

#include <gtest/gtest.h>

#include "recording_host.h"

namespace rapporta::test {
namespace {

using connection::StartupOutcome;

class StartupWindow : public connection::StartupWindow {
 public:
  Steps steps;
  RecordingHost host{steps};
  bool another = false;
  bool giveHost = true;
  bool closeWhileConnecting = false;
  bool closeRequested = false;

  bool AnotherInstanceRunning() override {
    steps.push_back("instance?");
    return another;
  }
  void ShowMessage(TextView text, TextView title) override {
    steps.push_back("message " + Narrow(title) + ": " + Narrow(text));
  }
  host::Host* ConnectHost() override {
    steps.push_back("connect");
    if (closeWhileConnecting) closeRequested = true;
    return giveHost ? &host : nullptr;
  }
  bool CloseRequested() const override { return closeRequested; }
  void SetCaption(TextView caption) override { steps.push_back("caption " + Narrow(caption)); }
  void SetStartupCallsign(TextView callsign) override {
    steps.push_back("keep " + Narrow(callsign));
  }
  void SetShowTime(bool on) override { steps.push_back(on ? "time on" : "time off"); }
};

TEST(Startup, FormLoadTakesItsStepsInOrderAndStopsWhereItMust) {
  // Narrow keeps only the low bytes of the Japanese text: enough to compare.
  const std::string alreadyRunning = Narrow(u"既に起動しています");
  const struct {
    const char* what;
    std::function<void(StartupWindow&)> setUp;
    StartupOutcome outcome;
    Steps steps;
  } cases[] = {
      {"connected", [](StartupWindow&) {}, StartupOutcome::Connected,
       {"instance?", "connect", "callsign", "caption Rapporta! <N0CALL> Ver 0.0.29", "keep N0CALL",
        "time on"}},
      {"second instance: the host is never created",
       [](StartupWindow& w) { w.another = true; }, StartupOutcome::AlreadyRunning,
       {"instance?", "message Rapporta: " + alreadyRunning}},
      {"no host object: caption and time left alone",
       [](StartupWindow& w) { w.giveHost = false; }, StartupOutcome::Unconnected,
       {"instance?", "connect", "message missing!!: Launch EchoLink Faild!!"}},
      {"the host closes while connecting", [](StartupWindow& w) { w.closeWhileConnecting = true; },
       StartupOutcome::Closed, {"instance?", "connect"}},
  };
  for (const auto& c : cases) {
    StartupWindow window;
    c.setUp(window);
    EXPECT_EQ(connection::Form_Load(window), c.outcome) << c.what;
    EXPECT_EQ(window.steps, c.steps) << c.what;
  }
}

TEST(Startup, AFailingCallsignReadPropagatesWithTheTimeStillOff) {
  StartupWindow window;
  window.host.failCallsign = true;
  EXPECT_THROW(connection::Form_Load(window), Failure);
  EXPECT_EQ(window.steps, (Steps{"instance?", "connect", "callsign"}));
}

}  // namespace
}  // namespace rapporta::test
