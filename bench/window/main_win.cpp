// The window benchmarks under Wine; scripts/bench runs each part in a
// process of its own and prints the table.
//   window_bench appends [scale] | hugeline | memory [appends]
//   window_bench startup <runs> <bare_window.exe> <minimal_client.exe> <rapporta.exe>
//                        [<an earlier rapporta.exe> <its revision>]...
//   window_bench calls <bare_window.exe> <minimal_client.exe> <rapporta.exe> [...as above]
//   window_bench burst <rapporta.exe> [lines]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "append_bench_win.h"
#include "calls_bench_win.h"
#include "common/failure.h"
#include "huge_line_bench_win.h"
#include "memory_bench_win.h"
#include "process_bench_win.h"
#include "startup_bench_win.h"

int wmain(int argc, wchar_t** argv) {
  using namespace rapporta::bench;
  const std::wstring part = argc > 1 ? argv[1] : L"";
  auto number = [&](int index, int otherwise) { return argc > index ? _wtoi(argv[index]) : otherwise; };
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    if (part == L"appends") {
      RunAppendBench(number(2, 1));
    } else if (part == L"hugeline") {
      RunHugeLineBench();
    } else if (part == L"memory") {
      RunMemoryBench(number(2, 100000));
    } else if ((part == L"startup" && argc > 5) || (part == L"calls" && argc > 4)) {
      // calls takes no run count: its programs start one place earlier.
      const int first = part == L"startup" ? 3 : 2;
      StartupPrograms programs{argv[first], argv[first + 1], {{"rapporta.exe", argv[first + 2]}}};
      for (int i = first + 3; i + 1 < argc; i += 2) {
        // The revision names an earlier build: plain ASCII.
        std::string name = "rapporta.exe at ";
        for (const wchar_t* c = argv[i + 1]; *c; ++c) name += static_cast<char>(*c);
        programs.builds.push_back({name, argv[i]});
      }
      if (part == L"calls") {
        RunCallsBench(programs);
      } else {
        RunStartupBench(programs, number(2, 5));
      }
    } else if (part == L"burst" && argc > 2) {
      RunBurstBench(argv[2], number(3, 1000));
    } else {
      std::fprintf(stderr, "usage: window_bench appends|hugeline|memory|startup|burst ...\n");
      return 2;
    }
  } catch (const rapporta::Failure& failure) {
    std::fprintf(stderr, "failed: %s (0x%08lx)\n", failure.what(),
                 static_cast<unsigned long>(failure.Code()));
    return 1;
  }
  CoUninitialize();
  return 0;
}
