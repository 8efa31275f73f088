// The window benchmarks under Wine; scripts/bench runs each part in a
// process of its own and prints the table.
//   window_bench appends [scale] | hugeline | memory [appends]
//   window_bench startup <runs> <bare_window.exe> <minimal_client.exe> <rapporta.exe>
//                        [<another rapporta.exe> <its name>]
//   window_bench burst <rapporta.exe> [lines]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "append_bench_win.h"
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
    } else if (part == L"startup" && argc > 5) {
      StartupPrograms programs{argv[3], argv[4], argv[5], argc > 7 ? argv[6] : L"", ""};
      // The name is a git revision: plain ASCII.
      for (const wchar_t* c = argc > 7 ? argv[7] : L""; *c; ++c) {
        programs.beforeName += static_cast<char>(*c);
      }
      RunStartupBench(programs, number(2, 5));
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
