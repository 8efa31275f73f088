#pragma once

namespace rapporta::bench {

// Prints the per-line cost of appending at three log lengths.
void RunAppendBench(int scale);

}  // namespace rapporta::bench
