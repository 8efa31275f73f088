#pragma once
// Timing, figures and the table the window benchmarks print.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace rapporta::bench {

// Milliseconds on the performance counter.
double NowMs();

// Median and worst of a series of samples in milliseconds.
struct Figures {
  double median = 0;
  double worst = 0;
  std::size_t count = 0;
};
Figures Summarize(std::vector<double> samples);

// Dispatches every message waiting for this thread.
void PumpPending();
// Pumps for a while: lets Wine finish painting and settle.
void PumpFor(double milliseconds);

// One row of the printed table: what was measured, then its figures.
void PrintRow(const std::string& what, const std::string& figures);
std::string Format(const char* format, ...);

}  // namespace rapporta::bench
