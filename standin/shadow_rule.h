#pragma once
// The stand-in must never take the place of a real EchoLink. A class
// registered for the user overrides the same class registered for the
// machine, so a stand-in registered for the user would shadow a real host
// installed machine-wide after it. These rules decide, from what the
// registry says, when the stand-in keeps out of the way.
#include <optional>
#include <vector>

#include "common/text.h"

namespace rapporta::standin {

// The program a class's LocalServer32 command names, without quotes or
// arguments; empty when there is none.
Text ServerPath(TextView command);

// Whether two paths name the same program. Letters are compared without
// regard to case only within ASCII: two names that differ otherwise count as
// different programs, which errs on the side of keeping out of the way.
bool SamePath(TextView a, TextView b);

// The first of a class's LocalServer32 commands that names a program other
// than own (an empty command, a class with no local server, is not ours
// either); nothing when every one names own.
std::optional<Text> ForeignServer(const std::vector<Text>& commands, TextView own);

struct StartFacts {
  // Under Wine the machine's classes are the only ones its COM reads, and
  // the stand-in registers itself there: it cannot shadow anything.
  bool underWine = false;
  // Asked to check as on Windows all the same (tests, in a scratch prefix).
  bool checkAnyway = false;
  // The host's class as the machine's registry has it, one command per
  // registry view that holds the class.
  std::vector<Text> machineCommands;
  Text ownPath;
};

// The real host the stand-in must stand aside for at this start, if any.
std::optional<Text> RealHostAtStart(const StartFacts& facts);

}  // namespace rapporta::standin
