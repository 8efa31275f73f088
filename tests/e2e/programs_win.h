#pragma once
// The real programs driven from outside, for the tests and the benchmarks
// alike: a program started (or opened) and its windows found and closed as
// the user closes them, rapporta.exe from the build, and the stand-in host
// through its control object. Each is gone when its owner lets go, so that
// what comes next starts fresh ones; a program ended by force is the last
// resort, since it leaves the other calling a client that is gone.
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include "common/bstr_win.h"
#include "common/check_win.h"
#include "common/text_win.h"
#include "common/unique_win.h"
#include "standin_control.h"  // generated
#include "support/pump_win.h"
#include "support/user_win.h"

namespace rapporta::test {

// A path as the build wrote it (a Unix path is Wine's drive Z:).
inline std::wstring WindowsPath(const char* path) {
  const std::wstring wide(path, path + std::char_traits<char>::length(path));
  return wide.rfind(L"/", 0) == 0 ? L"Z:" + wide : wide;
}
// The Wine run the test is in (empty: the architecture's own prefix).
inline std::wstring RunName() {
  const wchar_t* run = _wgetenv(L"RAPPORTA_WINE_RUN");
  return run ? run : L"";
}

class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    CheckWin(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info),
             "CreateProcess");
    CloseHandle(info.hThread);
    handle_.Reset(info.hProcess);
    id_ = info.dwProcessId;
  }
  explicit Process(DWORD id)
      : handle_(CheckWin(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION,
                                     FALSE, id),
                         "OpenProcess")),
        id_(id) {}
  // Closed as the user closes it (a dialog first, then the window), or else
  // ended by force.
  ~Process() {
    for (int i = 0; i < 5 && !Ended(i ? 1000 : 0); ++i) {
      if (HWND window = Window()) PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (!Ended(5000)) TerminateProcess(handle_.Get(), 1);
    Ended(5000);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  HANDLE Handle() const { return handle_.Get(); }
  bool Ended(DWORD waitMs = 0) const {
    return WaitForSingleObject(handle_.Get(), waitMs) == WAIT_OBJECT_0;
  }
  // The exit code once it has ended within the time; else STILL_ACTIVE.
  DWORD ExitCode(DWORD waitMs) const {
    DWORD code = STILL_ACTIVE;
    if (Ended(waitMs)) GetExitCodeProcess(handle_.Get(), &code);
    return code;
  }
  // A visible top-level window of the class (any when null) whose caption
  // holds caption, now or within the time; else null. The caption is asked
  // only when it matters: a window whose thread is stuck does not answer.
  HWND Window(const wchar_t* className = nullptr, const std::wstring& caption = L"") const {
    for (HWND window : VisibleWindows(className, id_)) {
      if (caption.empty() || WindowText(window).find(caption) != std::wstring::npos) return window;
    }
    return nullptr;
  }
  HWND WaitForWindow(const wchar_t* className, const std::wstring& caption = L"",
                     std::chrono::milliseconds timeout = 10s) const {
    HWND window = nullptr;
    PumpUntil([&] { return (window = Window(className, caption)) != nullptr; }, timeout);
    return window;
  }
  // Waits for the process to end; false if it has not by then, or showed a
  // window of the class (any when null: "#32770" is a box or dialog) first.
  bool EndsWithoutShowing(const wchar_t* className, DWORD timeoutMs) const {
    bool shown = false;
    PumpUntil([&] { return (shown = Window(className) != nullptr) || Ended(); },
              std::chrono::milliseconds(timeoutMs));
    return Ended() && !shown;
  }

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// What a client's caption shows once it is connected: its call sign.
constexpr wchar_t kConnected[] = L" <";

// rapporta.exe from the build, or where RAPPORTA_EXE points: the package
// test points it at the program taken out of the zip.
struct Rapporta : Process {
  Rapporta()
      : Process(_wgetenv(L"RAPPORTA_EXE") ? _wgetenv(L"RAPPORTA_EXE") : WindowsPath(RAPPORTA_EXE),
                L"") {}
  HWND ConnectedForm() const { return WaitForWindow(L"Rapporta.Form1", L"Rapporta!"); }
};

class StandinSession {
 public:
  // Starts the stand-in (or joins the running one) through its control
  // class. One that was just closed may still hold its class for a moment,
  // and on a loaded machine a start may fail: it is tried again.
  StandinSession() {
    HRESULT hr = E_FAIL;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(250)) {
      hr = CoCreateInstance(CLSID_StandinControl, nullptr, CLSCTX_LOCAL_SERVER,
                            IID_PPV_ARGS(&control_));
      if (SUCCEEDED(hr)) break;
    }
    CheckHr(hr, "CoCreateInstance(StandinControl)");
    process_ = std::make_unique<Process>(static_cast<DWORD>(Read(&IStandinControl::get_ProcessId)));
  }
  // Closes it as its close button does, and waits for it to end.
  ~StandinSession() {
    if (control_) control_->CloseHost();  // it may be gone already
    control_.Reset();
    process_->Ended(10000);
  }
  StandinSession(const StandinSession&) = delete;
  StandinSession& operator=(const StandinSession&) = delete;
  IStandinControl* operator->() const { return control_.Get(); }
  const Process& Program() const { return *process_; }
  void Inject(TextView text) {
    CheckHr(control_->InjectText(Bstr(text).Get()), "StandinControl.InjectText");
  }
  std::vector<Text> SentLines() {
    std::vector<Text> lines;
    for (long i = 0, count = Read(&IStandinControl::get_SentCount); i < count; ++i) {
      Bstr line;
      CheckHr(control_->SentLine(i, line.Put()), "StandinControl.SentLine");
      lines.push_back(line.ToText());
    }
    return lines;
  }
  template <typename Getter>
  long Read(Getter getter) {
    long value = -1;
    CheckHr((control_.Get()->*getter)(&value), "StandinControl");
    return value;
  }
  // Whether, within a bound, the host holds no sink, HostApp or station.
  bool HoldsNothing() {
    return PumpUntil([&] {
      return Read(&IStandinControl::get_SinkCount) == 0 &&
             Read(&IStandinControl::get_HostAppsAlive) == 0 &&
             Read(&IStandinControl::get_StationsAlive) == 0;
    });
  }

 private:
  Microsoft::WRL::ComPtr<IStandinControl> control_;
  std::unique_ptr<Process> process_;
};

}  // namespace rapporta::test
