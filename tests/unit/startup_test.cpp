#include "connection/startup.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "recording_window.h"

namespace rapporta::test {
namespace {

using connection::StartupOutcome;

// No outcome: a failure propagates.
using Outcome = std::optional<StartupOutcome>;

TEST(Startup, FormLoadTakesItsStepsInOrderAndStopsWhereItMust) {
  const std::string caption = "caption Rapporta! <N0CALL> Ver 0.0.29";
  const std::tuple<const char*, Arrange, Outcome, Steps> cases[] = {
      {"connected", [](RecordingWindow&) {}, StartupOutcome::Connected,
       {"instance?", "connect", "callsign", caption, "keep N0CALL", "time on"}},
      {"no host object: caption and time left alone", [](RecordingWindow& w) { w.hasHost = false; },
       StartupOutcome::Unconnected,
       {"instance?", "connect", "message missing!!: Launch EchoLink Faild!!"}},
      {"the host closes while its call sign is read",
       [](RecordingWindow& w) { w.inCallsign = [&w] { w.closeRequested = true; }; },
       StartupOutcome::Closed, {"instance?", "connect", "callsign", caption, "keep N0CALL"}},
      {"a failing call-sign read leaves the time off",
       [](RecordingWindow& w) { w.inCallsign = Fail; }, std::nullopt,
       {"instance?", "connect", "callsign", "failure"}},
  };
  for (const auto& [what, arrange, outcome, steps] : cases) {
    RecordingWindow window;
    arrange(window);
    Outcome result;
    RecordFailure(window.steps, [&] { result = connection::Form_Load(window); });
    EXPECT_EQ(result, outcome) << what;
    EXPECT_EQ(window.steps, steps) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
