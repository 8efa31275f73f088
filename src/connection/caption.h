#pragma once
#include "common/text.h"
#include "common/version.h"

namespace rapporta::connection {

// The caption of a connected window: "Rapporta! <call sign> Ver M.m.r", the
// version numbers as plain decimals.
Text Caption(TextView callsign, Version version = kVersion);

}  // namespace rapporta::connection
