// The window's memory over 100000 appends: the log is capped, so the
// working set must level off.
#include "memory_bench_win.h"

#include <windows.h>
#include <psapi.h>

#include "bench_form_win.h"
#include "bench_util_win.h"

namespace rapporta::bench {
namespace {

PROCESS_MEMORY_COUNTERS Counters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

double Mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

void RunMemoryBench(int appends) {
  BenchForm bench;
  std::string series;
  const double began = NowMs();
  for (int n = 1; n <= appends; ++n) {
    bench.Receive(ChatLine(n));
    // Bursts of 500 lines, each brought into the box in one flush.
    if (n % 500 == 0) bench.Settle();
    if (n % (appends / 4) == 0) {
      series += Format("%s%.1f", series.empty() ? "" : " / ", Mb(Counters().WorkingSetSize));
    }
  }
  bench.Settle();
  const double took = NowMs() - began;
  const PROCESS_MEMORY_COUNTERS end = Counters();
  PrintRow(Format("working set after %d appends (each quarter), MB", appends), series);
  PrintRow("peak working set / private bytes, MB",
           Format("%.1f / %.1f (%d appends in %.1f s)", Mb(end.PeakWorkingSetSize),
                  Mb(end.PagefileUsage), appends, took / 1000.0));
}

}  // namespace rapporta::bench
