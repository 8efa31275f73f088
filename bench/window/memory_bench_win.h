#pragma once

namespace rapporta::bench {

// Prints the working set while the window takes this many appends.
void RunMemoryBench(int appends);

}  // namespace rapporta::bench
