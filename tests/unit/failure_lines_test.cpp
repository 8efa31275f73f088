#include "ui/failure_lines.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "common/failure.h"

namespace rapporta::ui {
namespace {

constexpr std::int32_t kRpcGone = static_cast<std::int32_t>(0x800706BA);
constexpr std::int32_t kDiskFull = static_cast<std::int32_t>(0x80070070);

// What decides the first line: the operation, then the stage for the call
// sign's read, then a host that did not answer or is still busy, unless
// start-up ends or the line has already gone out. The rows meet every
// situation, and the guide finds each by a line of its own.
TEST(FailureLines, SituationByOperationStageAndCodeEachWithALineOfItsOwn) {
  const std::tuple<const char*, std::int32_t, Stage, Situation> cases[] = {
      {"CoCreateInstance(HostApp)", kNoAnswer, Stage::kUnknown, Situation::kConnecting},
      {"HostApp.SendChat", kRpcGone, Stage::kRunning, Situation::kSending},
      {"HostApp.SendChat", kNoAnswer, Stage::kRunning, Situation::kNoAnswer},
      {"HostApp.SendChat", kStillBusy, Stage::kUnknown, Situation::kStillBusy},
      {"HostApp.LocalStation", kNoAnswer, Stage::kStartUp, Situation::kConnecting},
      {"HostStation.Callsign", kStillBusy, Stage::kRunning, Situation::kCallsignAfterSend},
      {"HostStation.Callsign", kNoAnswer, Stage::kUnknown, Situation::kCallsign},
      {"ReplaceFileW", kDiskFull, Stage::kRunning, Situation::kSaving},
      // A name the program never uses (nor one that merely starts as one does).
      {"HostApp.SendChatty", kRpcGone, Stage::kRunning, Situation::kUnexpected},
  };
  std::set<TextView> lines;
  for (const auto& [operation, code, stage, expected] : cases) {
    EXPECT_EQ(SituationOf(operation, code, stage), expected)
        << operation << " " << std::hex << code;
    if (!FirstLine(expected).empty()) lines.insert(FirstLine(expected));
  }
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(kSituations));
}

}  // namespace
}  // namespace rapporta::ui
