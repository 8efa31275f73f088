#include "bench_util_win.h"

#include <algorithm>
#include <cstdarg>

#include <psapi.h>

#include "support/pump_win.h"

namespace rapporta::bench {

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMs;
}

Figures Summarize(std::vector<double> samples) {
  Figures figures;
  figures.count = samples.size();
  if (samples.empty()) return figures;
  std::sort(samples.begin(), samples.end());
  figures.median = samples[samples.size() / 2];
  figures.worst = samples.back();
  return figures;
}

void PumpFor(double milliseconds) {
  const double end = NowMs() + milliseconds;
  for (;;) {
    test::PumpPending();
    const double left = end - NowMs();
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
}

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return {static_cast<double>(counters.WorkingSetSize) / 1048576.0,
          static_cast<double>(counters.PagefileUsage) / 1048576.0};
}

void PrintRow(const std::string& what, const std::string& figures) {
  std::printf("| %-58s | %s |\n", what.c_str(), figures.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

}  // namespace rapporta::bench
