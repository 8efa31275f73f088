#include "standin_session_win.h"

#include <vector>

#include "common/check_win.h"
#include "common/bstr_win.h"

namespace rapporta::testing {

void Check(HRESULT hr, const char* operation) { CheckHr(hr, operation); }

StandinSession::StandinSession() {
  CheckHr(CoCreateInstance(CLSID_StandinControl, nullptr, CLSCTX_LOCAL_SERVER,
                           IID_PPV_ARGS(&control_)),
          "CoCreateInstance(StandinControl)");
  long id = 0;
  CheckHr(control_->get_ProcessId(&id), "StandinControl.ProcessId");
  processId_ = static_cast<DWORD>(id);
  process_.Reset(CheckWin(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId_),
                          "OpenProcess(stand-in)"));
}

StandinSession::~StandinSession() {
  if (!CloseAndWaitForExit(10000)) TerminateProcess(process_.Get(), 1);
}

bool StandinSession::CloseAndWaitForExit(DWORD milliseconds) {
  // It may be gone already; then there is nothing to close.
  if (control_) control_->CloseHost();
  return ReleaseAndWaitForExit(milliseconds);
}

bool StandinSession::ReleaseAndWaitForExit(DWORD milliseconds) {
  control_.Reset();
  return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

void StandinSession::Inject(TextView text) {
  Bstr value(text);
  CheckHr(control_->InjectText(value.Get()), "StandinControl.InjectText");
}

std::vector<Text> StandinSession::SentLines() {
  long count = 0;
  CheckHr(control_->get_SentCount(&count), "StandinControl.SentCount");
  std::vector<Text> lines;
  for (long i = 0; i < count; ++i) {
    Bstr line;
    CheckHr(control_->SentLine(i, line.Put()), "StandinControl.SentLine");
    lines.push_back(line.ToText());
  }
  return lines;
}

Text StandinSession::Callsign() {
  Bstr callsign;
  CheckHr(control_->get_Callsign(callsign.Put()), "StandinControl.Callsign");
  return callsign.ToText();
}

void StandinSession::SetCallsign(TextView callsign) {
  Bstr value(callsign);
  CheckHr(control_->put_Callsign(value.Get()), "StandinControl.Callsign");
}

long StandinSession::StationsAlive() {
  long count = -1;
  CheckHr(control_->get_StationsAlive(&count), "StandinControl.StationsAlive");
  return count;
}

long StandinSession::SinkCount() {
  long count = -1;
  CheckHr(control_->get_SinkCount(&count), "StandinControl.SinkCount");
  return count;
}

long StandinSession::HostAppsAlive() {
  long count = -1;
  CheckHr(control_->get_HostAppsAlive(&count), "StandinControl.HostAppsAlive");
  return count;
}

}  // namespace rapporta::testing
