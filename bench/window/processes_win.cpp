#include "processes_win.h"

#include <psapi.h>

#include "bench_util_win.h"
#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::bench {

Launched Launch(const std::wstring& program, HANDLE output) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + program + L"\"";
  CheckWin(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                          output ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &info),
           "CreateProcess");
  CloseHandle(info.hThread);
  Launched launched;
  launched.process.Reset(info.hProcess);
  launched.id = info.dwProcessId;
  return launched;
}

bool Connected(const std::wstring& caption) { return caption.find(L" <") != std::wstring::npos; }

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return {static_cast<double>(counters.WorkingSetSize) / 1048576.0,
          static_cast<double>(counters.PagefileUsage) / 1048576.0};
}

namespace {

struct Search {
  DWORD processId;
  const std::function<bool(const std::wstring&)>* accept;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
  if (!(*search.accept)(WindowText(window))) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND WaitForWindow(DWORD processId, const std::function<bool(const std::wstring&)>& accept,
                   double timeoutMs) {
  const double end = NowMs() + timeoutMs;
  do {
    Search search{processId, &accept, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(1);
  } while (NowMs() < end);
  return nullptr;
}

void CloseAndWait(HWND window, HANDLE process) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
}

Microsoft::WRL::ComPtr<IStandinControl> ConnectStandin() {
  Microsoft::WRL::ComPtr<IStandinControl> control;
  CheckHr(CoCreateInstance(CLSID_StandinControl, nullptr, CLSCTX_LOCAL_SERVER,
                           IID_PPV_ARGS(&control)),
          "CoCreateInstance(StandinControl)");
  return control;
}

void CloseStandin(Microsoft::WRL::ComPtr<IStandinControl>& control) {
  long id = 0;
  CheckHr(control->get_ProcessId(&id), "StandinControl.ProcessId");
  const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id)));
  control->CloseHost();  // the host goes away inside the call: no answer to check
  control.Reset();
  if (process) WaitForSingleObject(process.Get(), 10000);
}

}  // namespace rapporta::bench
