#pragma once
// The real programs, out of process: a burst of received lines through the
// stand-in host over COM.
#include <string>

namespace rapporta::bench {

void RunBurstBench(const std::wstring& rapporta, int lines);

}  // namespace rapporta::bench
