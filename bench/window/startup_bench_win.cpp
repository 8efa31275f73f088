// Launch to a visible window and memory after start-up: the bare window, the
// minimal host client (the floor for a connected window), rapporta.exe and
// any earlier builds of it. The programs take turns within each
// run so that a change in the machine's load falls on all of them alike.
#include "startup_bench_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "bench_util_win.h"
#include "calls_bench_win.h"
#include "common/failure.h"
#include "programs_win.h"

namespace rapporta::bench {
namespace {

struct Series {
  std::vector<double> times;
  std::vector<double> workingSet;
  std::vector<double> privateBytes;
};

double Median(std::vector<double> values) { return Summarize(std::move(values)).median; }

// Launch to a visible window whose caption holds caption (any when empty);
// then, once it has settled, its memory; the program is closed again.
void StartOnce(const std::wstring& program, const wchar_t* caption, Series& into,
               bool withMemory = true) {
  const double began = NowMs();
  const test::Process process(program, L"");
  const HWND window = process.WaitForWindow(nullptr, caption, 60s);
  const double took = NowMs() - began;
  if (!window) throw Failure("no window of the started program", 0);
  into.times.push_back(took);
  if (withMemory) {
    Sleep(300);
    const Memory memory = MemoryOf(process.Handle());
    into.workingSet.push_back(memory.workingSetMb);
    into.privateBytes.push_back(memory.privateMb);
  }
}

// The host not running: the program starts it. The host stays after the
// program closes and is closed here.
void ColdStart(const std::wstring& program, Series& into) {
  StartOnce(program, test::kConnected, into, false);
  const test::StandinSession host;
}

std::string Cell(const Series& series) {
  const Figures f = Summarize(series.times);
  return Format("median %7.1f ms, worst %7.1f ms (%zu runs)", f.median, f.worst, f.count);
}

std::string Ratio(const Series& series, double floor, const char* of) {
  return Format("; %.2fx %s", Median(series.times) / floor, of);
}

std::string MemoryCell(const Series& series, const Series* floor) {
  std::string cell = Format("%.1f / %.1f", Median(series.workingSet), Median(series.privateBytes));
  if (floor) {
    cell += Format("; private %.2fx the minimal client's",
                   Median(series.privateBytes) / Median(floor->privateBytes));
  }
  return cell;
}

}  // namespace

void RunStartupBench(const StartupPrograms& programs, int runs) {
  Series bare, host, minimal;
  std::vector<double> oneCall;
  std::vector<Series> warm(programs.builds.size()), cold(programs.builds.size());
  for (int run = 0; run < runs; ++run) {
    StartOnce(programs.bare, L"", bare);
    {
      // The host's own start: activation of a server that is not running.
      const double began = NowMs();
      const test::StandinSession standin;
      host.times.push_back(NowMs() - began);
      oneCall.push_back(OneCallMs());
      // With the host running, in turn, starting from a different one each run.
      struct Turn {
        const std::wstring* program;
        Series* series;
      };
      std::vector<Turn> turns{{&programs.minimal, &minimal}};
      for (std::size_t i = 0; i < programs.builds.size(); ++i) {
        turns.push_back({&programs.builds[i].path, &warm[i]});
      }
      std::rotate(turns.begin(), turns.begin() + run % turns.size(), turns.end());
      for (const Turn& turn : turns) StartOnce(*turn.program, test::kConnected, *turn.series);
    }

    for (std::size_t i = 0; i < programs.builds.size(); ++i) {
      ColdStart(programs.builds[i].path, cold[i]);
    }
  }

  const double floor = Median(minimal.times);
  const double bareAndHost = Median(bare.times) + Median(host.times);
  PrintRow("start-up: bare Win32 window, launch to visible", Cell(bare));
  PrintRow("start-up: the host alone (COM activation of the stand-in)", Cell(host));
  PrintRow("one call to the running host and back", Format("median %.2f ms", Median(oneCall)));
  PrintRow("host running: minimal client to connected (the floor)",
           Cell(minimal) + Ratio(minimal, Median(bare.times), "bare"));
  for (std::size_t i = 0; i < programs.builds.size(); ++i) {
    PrintRow("host running: " + programs.builds[i].name + " to connected",
             Cell(warm[i]) + Ratio(warm[i], floor, "floor"));
  }
  for (std::size_t i = 0; i < programs.builds.size(); ++i) {
    PrintRow("host not running: " + programs.builds[i].name,
             Cell(cold[i]) + Ratio(cold[i], bareAndHost, "bare + host"));
  }
  PrintRow("after start-up, working set / private MB: bare window", MemoryCell(bare, nullptr));
  PrintRow("  minimal client, connected (the floor)", MemoryCell(minimal, nullptr));
  for (std::size_t i = 0; i < programs.builds.size(); ++i) {
    PrintRow("  " + programs.builds[i].name + ", connected", MemoryCell(warm[i], &minimal));
  }
}

}  // namespace rapporta::bench
