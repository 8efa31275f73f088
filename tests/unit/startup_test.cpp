#include "connection/startup.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

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
    return giveHost ? &host : nullptr;
  }
  bool CloseRequested() const override { return closeRequested; }
  void SetCaption(TextView caption) override { steps.push_back("caption " + Narrow(caption)); }
  void SetStartupCallsign(TextView callsign) override {
    steps.push_back("keep " + Narrow(callsign));
  }
  void SetShowTime(bool on) override { steps.push_back(on ? "time on" : "time off"); }
};

using Arrange = void (*)(StartupWindow&);
// No outcome: a failure propagates.
using Outcome = std::optional<StartupOutcome>;

TEST(Startup, FormLoadTakesItsStepsInOrderAndStopsWhereItMust) {
  const std::string caption = "caption Rapporta! <N0CALL> Ver 0.0.29";
  const std::tuple<const char*, Arrange, Outcome, Steps> cases[] = {
      {"connected", [](StartupWindow&) {}, StartupOutcome::Connected,
       {"instance?", "connect", "callsign", caption, "keep N0CALL", "time on"}},
      {"second instance: the host is never created", [](StartupWindow& w) { w.another = true; },
       StartupOutcome::AlreadyRunning,
       {"instance?", "message Rapporta: " + Narrow(u"既に起動しています")}},
      {"no host object: caption and time left alone", [](StartupWindow& w) { w.giveHost = false; },
       StartupOutcome::Unconnected,
       {"instance?", "connect", "message missing!!: Launch EchoLink Faild!!"}},
      // Set from the start, the close is looked at only once connecting has returned.
      {"the host closes while connecting", [](StartupWindow& w) { w.closeRequested = true; },
       StartupOutcome::Closed, {"instance?", "connect"}},
      {"the host closes while its call sign is read",
       [](StartupWindow& w) { w.host.inCallsign = [&w] { w.closeRequested = true; }; },
       StartupOutcome::Closed, {"instance?", "connect", "callsign", caption, "keep N0CALL"}},
      {"a failing call-sign read leaves the time off",
       [](StartupWindow& w) { w.host.inCallsign = Fail; }, std::nullopt,
       {"instance?", "connect", "callsign", "failure"}},
  };
  for (const auto& [what, arrange, outcome, steps] : cases) {
    StartupWindow window;
    arrange(window);
    Outcome result;
    try {
      result = connection::Form_Load(window);
    } catch (const Failure&) {
      window.steps.push_back("failure");
    }
    EXPECT_EQ(result, outcome) << what;
    EXPECT_EQ(window.steps, steps) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
