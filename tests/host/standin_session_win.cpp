#include "standin_session_win.h"

#include <string>
#include <vector>

#include "common/check_win.h"
#include "common/bstr_win.h"

namespace rapporta::testing {

void Check(HRESULT hr, const char* operation) { CheckHr(hr, operation); }

std::wstring WindowsPath(const char* path) {
  std::wstring wide(path, path + std::char_traits<char>::length(path));
  return !wide.empty() && wide[0] == L'/' ? L"Z:" + wide : wide;
}

std::wstring RunName() {
  wchar_t name[64] = {};
  const DWORD length = GetEnvironmentVariableW(L"RAPPORTA_WINE_RUN", name, 64);
  return length < 64 ? std::wstring(name, length) : std::wstring();
}

Program StartProgram(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  CheckWin(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info),
           "CreateProcess");
  CloseHandle(info.hThread);
  return {UniqueHandle(info.hProcess), info.dwProcessId};
}

DWORD ExitCodeWithin(HANDLE process, DWORD milliseconds) {
  if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    return STILL_ACTIVE;
  }
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process, &code);
  return code;
}

DWORD RunProgram(const std::wstring& exe, const std::wstring& arguments, DWORD milliseconds) {
  const auto program = StartProgram(exe, arguments);
  return ExitCodeWithin(program.process.Get(), milliseconds);
}

std::wstring HostAppCommand(HKEY root) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  RegGetValueW(root,
               L"Software\\Classes\\CLSID\\{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}\\LocalServer32",
               nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
  return value;
}

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
