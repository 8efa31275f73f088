#pragma once
#include "version_numbers.h"  // generated: the numbers come from project(VERSION)

namespace rapporta {

struct Version {
  int major;
  int minor;
  int revision;
};

inline constexpr Version kVersion{RAPPORTA_VERSION_MAJOR, RAPPORTA_VERSION_MINOR,
                                  RAPPORTA_VERSION_REVISION};
inline constexpr char16_t kAppTitle[] = u"Rapporta";

}  // namespace rapporta
