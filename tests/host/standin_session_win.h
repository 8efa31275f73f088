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

}  // namespace rapporta::testing
