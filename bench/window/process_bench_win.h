#pragma once
// The real programs, out of process: start-up against a bare window, and a
// burst of received lines through the stand-in host over COM.
#include <string>

namespace rapporta::bench {

void RunStartupBench(const std::wstring& rapporta, const std::wstring& bare, int runs);
void RunBurstBench(const std::wstring& rapporta, int lines);

}  // namespace rapporta::bench
