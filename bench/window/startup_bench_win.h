#pragma once
// Start-up of the real programs, out of process, side by side in one run.
#include <string>
#include <vector>

namespace rapporta::bench {

struct Build {
  std::string name;  // "rapporta.exe", or the revision of an earlier build
  std::wstring path;
};

struct StartupPrograms {
  std::wstring bare;     // the bare Win32 window
  std::wstring minimal;  // the bare window plus the least a host client does
  std::vector<Build> builds;  // rapporta.exe first, then any to compare with
};

void RunStartupBench(const StartupPrograms& programs, int runs);

}  // namespace rapporta::bench
