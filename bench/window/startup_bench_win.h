#pragma once
// Start-up of the real programs, out of process, side by side in one run.
#include <string>

namespace rapporta::bench {

struct StartupPrograms {
  std::wstring bare;      // the bare Win32 window
  std::wstring minimal;   // the bare window plus the least a host client does
  std::wstring rapporta;  // rapporta.exe
  std::wstring before;    // another build of rapporta.exe to compare; may be empty
  std::string beforeName;
};

void RunStartupBench(const StartupPrograms& programs, int runs);

}  // namespace rapporta::bench
