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

#include "common/check_win.h"
#include "common/text.h"
#include "common/unique_win.h"
#include "standin_control.h"  // generated
#include "support/pump_win.h"

namespace rapporta::test {

// A path as the build wrote it (a Unix path is Wine's drive Z:).
std::wstring WindowsPath(const char* path);
// The Wine run the test is in (empty: the architecture's own prefix).
std::wstring RunName();

class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& arguments);
  explicit Process(DWORD id);
  // Closed as the user closes it (a dialog first, then the window), or else
  // ended by force.
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  HANDLE Handle() const { return handle_.Get(); }
  bool Ended(DWORD waitMs = 0) const {
    return WaitForSingleObject(handle_.Get(), waitMs) == WAIT_OBJECT_0;
  }
  // The exit code once it has ended within the time; else STILL_ACTIVE.
  DWORD ExitCode(DWORD waitMs) const;
  // A visible top-level window of the class (any when null) whose caption
  // holds caption, now or within the time; else null.
  HWND Window(const wchar_t* className = nullptr, const std::wstring& caption = L"") const;
  HWND WaitForWindow(const wchar_t* className, const std::wstring& caption = L"",
                     std::chrono::milliseconds timeout = 10s) const;
  // Waits for the process to end; false if it has not by then, or showed a
  // window of the class (any when null: "#32770" is a box or dialog) first.
  bool EndsWithoutShowing(const wchar_t* className, DWORD timeoutMs) const;

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// What a client's caption shows once it is connected: its call sign.
constexpr wchar_t kConnected[] = L" <";

// rapporta.exe from the build, or where RAPPORTA_EXE points: the package
// test points it at the program taken out of the zip.
struct Rapporta : Process {
  Rapporta();
  HWND ConnectedForm() const { return WaitForWindow(L"Rapporta.Form1", L"Rapporta!"); }
};

class StandinSession {
 public:
  // Starts the stand-in (or joins the running one) through its control class.
  StandinSession();
  // Closes it as its close button does, and waits for it to end.
  ~StandinSession();
  StandinSession(const StandinSession&) = delete;
  StandinSession& operator=(const StandinSession&) = delete;
  IStandinControl* operator->() const { return control_.Get(); }
  const Process& Program() const { return *process_; }
  void Inject(TextView text);
  std::vector<Text> SentLines();
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
