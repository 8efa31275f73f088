#pragma once
// Timing, figures and the table the window benchmarks print.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace rapporta::bench {

using namespace std::chrono_literals;

// Milliseconds on the performance counter.
double NowMs();

// Median and worst of a series of samples in milliseconds.
struct Figures {
  double median = 0;
  double worst = 0;
  std::size_t count = 0;
};
Figures Summarize(std::vector<double> samples);

// Pumps for a while: lets Wine finish painting and settle.
void PumpFor(double milliseconds);

struct Memory {
  double workingSetMb = 0;
  double privateMb = 0;
};
Memory MemoryOf(HANDLE process);

// One row of the printed table: what was measured, then its figures.
void PrintRow(const std::string& what, const std::string& figures);
std::string Format(const char* format, ...);

}  // namespace rapporta::bench
