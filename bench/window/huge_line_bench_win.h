#pragma once

namespace rapporta::bench {

// Prints what one 50000-character received line costs the window.
void RunHugeLineBench();

}  // namespace rapporta::bench
