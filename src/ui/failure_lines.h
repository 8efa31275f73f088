#pragma once
// The first line of a failure report: what failed, in the user's terms, and
// what happens next. A user who meets "HostApp.SendChat" learns nothing; the
// operation, code and system text still follow, on a line of their own, for
// whoever helps them.
#include <cstdint>
#include <string_view>

#include "common/text.h"

namespace rapporta::ui {

// When the call failed, where the operation alone cannot tell: the call sign
// is read at start-up (a failure ends the program) and after every send (the
// line has gone out).
enum class Stage { kUnknown, kStartUp, kRunning };

enum class Situation {
  kConnecting,
  kSending,
  kCallsignAfterSend,
  kCallsign,  // read at a stage the caller did not say
  kSaving,
  kNoAnswer,
  kStillBusy,
  kUnexpected,
};
inline constexpr int kSituations = static_cast<int>(Situation::kUnexpected) + 1;

Situation SituationOf(std::string_view operation, std::int32_t code, Stage stage);
TextView FirstLine(Situation situation);

}  // namespace rapporta::ui
