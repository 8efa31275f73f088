#pragma once
// Starting programs and finding their windows from outside.
#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "standin_control.h"  // generated
#include "common/unique_win.h"

namespace rapporta::bench {

struct Launched {
  UniqueHandle process;
  DWORD id = 0;
};

// Its standard output and error go to output when given (an inheritable
// handle).
Launched Launch(const std::wstring& program, HANDLE output = nullptr);

// Polls until a visible top-level window of the process satisfies accept
// (given its caption); its handle, or null when the time ran out.
HWND WaitForWindow(DWORD processId, const std::function<bool(const std::wstring&)>& accept,
                   double timeoutMs);

// Asks the window to close and waits for its process to end; ends it by
// force if it hangs.
void CloseAndWait(HWND window, HANDLE process);

// A caption that shows a call sign: Rapporta's, or the minimal client's, once
// connected.
bool Connected(const std::wstring& caption);

struct Memory {
  double workingSetMb = 0;
  double privateMb = 0;
};
Memory MemoryOf(HANDLE process);

// The stand-in host's test control; starts the host when it is not running.
Microsoft::WRL::ComPtr<IStandinControl> ConnectStandin();
// Closes the stand-in as its close button does and waits for it to end.
void CloseStandin(Microsoft::WRL::ComPtr<IStandinControl>& control);

}  // namespace rapporta::bench
