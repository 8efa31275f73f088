#pragma once
// A test's hold on the stand-in host: its control object, and the process
// behind it, which must be gone again when the test ends so that the next
// test starts a fresh host.
#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include "common/com_apartment_win.h"
#include "common/text.h"
#include "common/unique_win.h"
#include "standin_control.h"  // generated

namespace rapporta::testing {

class StandinSession {
 public:
  // Starts the stand-in (or joins the running one) through its control class.
  StandinSession();
  StandinSession(const StandinSession&) = delete;
  StandinSession& operator=(const StandinSession&) = delete;
  // Closes the stand-in and waits for it to end; ends it by force if it
  // hangs. A test may leave clients of its own behind; closing does not wait
  // for them.
  ~StandinSession();

  IStandinControl& Control() { return *control_.Get(); }
  DWORD ProcessId() const { return processId_; }
  HANDLE Process() const { return process_.Get(); }

  void Inject(TextView text);
  std::vector<Text> SentLines();
  Text Callsign();
  void SetCallsign(TextView callsign);
  long StationsAlive();
  long SinkCount();
  long HostAppsAlive();

  // Closes the host as its close button does; true when it then ended
  // within the time.
  bool CloseAndWaitForExit(DWORD milliseconds);
  // Lets go of the control object only; true when the stand-in then ended
  // within the time.
  bool ReleaseAndWaitForExit(DWORD milliseconds);

 private:
  Microsoft::WRL::ComPtr<IStandinControl> control_;
  DWORD processId_ = 0;
  UniqueHandle process_;
};

// Throws Failure when the call failed.
void Check(HRESULT hr, const char* operation);

// A path as the build wrote it (a Unix path is Wine's drive Z:).
std::wstring WindowsPath(const char* path);
// The Wine run the test is in (empty: the architecture's own prefix).
std::wstring RunName();
struct Program {
  UniqueHandle process;
  DWORD id = 0;
};
// Starts a program with the arguments; throws Failure when it cannot.
Program StartProgram(const std::wstring& exe, const std::wstring& arguments);
// Waits up to the time for the program to end: its exit code, or
// STILL_ACTIVE when it has not ended (it is then ended by force).
DWORD ExitCodeWithin(HANDLE process, DWORD milliseconds);
// Both: a program that does its work and ends.
DWORD RunProgram(const std::wstring& exe, const std::wstring& arguments,
                 DWORD milliseconds = 30000);
// The HostApp class's LocalServer32 command under root, or empty.
std::wstring HostAppCommand(HKEY root);

}  // namespace rapporta::testing
