#include "programs_win.h"

#include "common/bstr_win.h"
#include "common/text_win.h"
#include "support/user_win.h"

namespace rapporta::test {

std::wstring WindowsPath(const char* path) {
  const std::wstring wide(path, path + std::char_traits<char>::length(path));
  return wide.rfind(L"/", 0) == 0 ? L"Z:" + wide : wide;
}

std::wstring RunName() {
  const wchar_t* run = _wgetenv(L"RAPPORTA_WINE_RUN");
  return run ? run : L"";
}

Process::Process(const std::wstring& exe, const std::wstring& arguments) {
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

Process::Process(DWORD id)
    : handle_(CheckWin(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION,
                                   FALSE, id),
                       "OpenProcess")),
      id_(id) {}

Process::~Process() {
  for (int i = 0; i < 5 && !Ended(i ? 1000 : 0); ++i) {
    if (HWND window = Window()) PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (!Ended(5000)) TerminateProcess(handle_.Get(), 1);
  Ended(5000);
}

DWORD Process::ExitCode(DWORD waitMs) const {
  DWORD code = STILL_ACTIVE;
  if (Ended(waitMs)) GetExitCodeProcess(handle_.Get(), &code);
  return code;
}

HWND Process::Window(const wchar_t* className, const std::wstring& caption) const {
  // The caption is asked only when it matters: a window whose thread is
  // stuck does not answer.
  for (HWND window : VisibleWindows(className, id_)) {
    if (caption.empty() || WindowText(window).find(caption) != std::wstring::npos) return window;
  }
  return nullptr;
}

HWND Process::WaitForWindow(const wchar_t* className, const std::wstring& caption,
                            std::chrono::milliseconds timeout) const {
  HWND window = nullptr;
  PumpUntil([&] { return (window = Window(className, caption)) != nullptr; }, timeout);
  return window;
}

bool Process::EndsWithoutShowing(const wchar_t* className, DWORD timeoutMs) const {
  bool shown = false;
  PumpUntil([&] { return (shown = Window(className) != nullptr) || Ended(); },
            std::chrono::milliseconds(timeoutMs));
  return Ended() && !shown;
}

Rapporta::Rapporta()
    : Process(_wgetenv(L"RAPPORTA_EXE") ? _wgetenv(L"RAPPORTA_EXE") : WindowsPath(RAPPORTA_EXE),
              L"") {}

StandinSession::StandinSession() {
  // A stand-in that was just closed may still hold its class for a moment,
  // and on a loaded machine a start may fail: try again.
  HRESULT hr = E_FAIL;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(250)) {
    hr = CoCreateInstance(CLSID_StandinControl, nullptr, CLSCTX_LOCAL_SERVER,
                          IID_PPV_ARGS(&control_));
    if (SUCCEEDED(hr)) break;
  }
  CheckHr(hr, "CoCreateInstance(StandinControl)");
  long id = 0;
  CheckHr(control_->get_ProcessId(&id), "StandinControl.ProcessId");
  process_ = std::make_unique<Process>(static_cast<DWORD>(id));
}

StandinSession::~StandinSession() {
  if (control_) control_->CloseHost();  // it may be gone already
  control_.Reset();
  process_->Ended(10000);
}

void StandinSession::Inject(TextView text) {
  CheckHr(control_->InjectText(Bstr(text).Get()), "StandinControl.InjectText");
}

std::vector<Text> StandinSession::SentLines() {
  std::vector<Text> lines;
  for (long i = 0, count = Read(&IStandinControl::get_SentCount); i < count; ++i) {
    Bstr line;
    CheckHr(control_->SentLine(i, line.Put()), "StandinControl.SentLine");
    lines.push_back(line.ToText());
  }
  return lines;
}

}  // namespace rapporta::test
