#include "calls_bench_win.h"

#include <windows.h>

#include <cstdio>

#include "bench_util_win.h"
#include "common/check_win.h"
#include "host/echolink_host_win.h"
#include "programs_win.h"

namespace rapporta::bench {
namespace {

void MarkConnected(const std::wstring& program, const std::string& name) {
  const test::Process process(program, L"");
  if (!process.WaitForWindow(nullptr, test::kConnected, 60s)) {
    throw Failure("no connected window of the started program", 0);
  }
  // The trace and this line share the output: the line comes after every
  // call that start-up made.
  std::fprintf(stderr, "connected %04lx %s\n", GetProcessId(process.Handle()), name.c_str());
  std::fflush(stderr);
}

}  // namespace

void RunCallsBench(const StartupPrograms& programs) {
  const test::StandinSession standin;
  MarkConnected(programs.minimal, "minimal client");
  for (const Build& build : programs.builds) MarkConnected(build.path, build.name);
}

double OneCallMs() {
  Microsoft::WRL::ComPtr<IHostApp> app;
  CheckHr(CoCreateInstance(__uuidof(HostApp), nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)),
          "CoCreateInstance(HostApp)");
  constexpr int kCalls = 200;
  UINT count = 0;
  const double began = NowMs();
  for (int i = 0; i < kCalls; ++i) CheckHr(app->GetTypeInfoCount(&count), "GetTypeInfoCount");
  return (NowMs() - began) / kCalls;
}

}  // namespace rapporta::bench
