#include "processes_win.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <thread>

#include "chat/log_rule.h"
#include "common/bstr_win.h"

namespace rapporta::test {
namespace {

// A test that the runner ended at its timeout leaves the stand-in it started
// running in the prefix, perhaps stuck calling a client that is gone, and
// the next test's activation would wait on it for ever. Every test that
// drives the real programs holds the prefix's lock on them, so whatever of
// them runs as one starts is left from an earlier test. It is ended, and so
// is the COM service: it would go on handing out the ended stand-in's class
// objects, and a new one starts with the next activation.
struct EndLeftovers : ::testing::Environment {
  void SetUp() override {
    if (EndAll({L"echolink_standin.exe", L"rapporta.exe"})) EndAll({L"rpcss.exe"});
  }
  static bool EndAll(std::initializer_list<const wchar_t*> names) {
    bool ended = false;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
      if (std::none_of(names.begin(), names.end(),
                       [&](const wchar_t* name) { return _wcsicmp(entry.szExeFile, name) == 0; })) {
        continue;
      }
      std::wcerr << L"ending " << entry.szExeFile << L" for a fresh start\n";
      const UniqueHandle leftover(
          OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
      if (leftover.Get() && TerminateProcess(leftover.Get(), 1)) {
        WaitForSingleObject(leftover.Get(), 5000);
        ended = true;
      }
    }
    return ended;
  }
};
// Every thread of every process in the prefix, as Wine's debugger sees it,
// onto this test's output: what each program was waiting in when a test hung.
void PrintBacktraces() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return;
  const UniqueHandle readEnd(read);
  const UniqueHandle writeEnd(write);
  SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = read;
  startup.hStdOutput = startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  std::wstring command = L"winedbg";
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return;  // not under Wine
  }
  const UniqueHandle process(info.hProcess);
  const UniqueHandle thread(info.hThread);
  const char commands[] = "bt all\nquit\n";
  DWORD written = 0;
  WriteFile(write, commands, sizeof commands - 1, &written, nullptr);
  WaitForSingleObject(process.Get(), 60000);
}

[[maybe_unused]] ::testing::Environment* const endLeftovers =
    ::testing::AddGlobalTestEnvironment(new EndLeftovers);

}  // namespace

Watchdog::Watchdog(DWORD boundMs, const char* what)
    : thread_([this, boundMs, what] {
        if (WaitForSingleObject(done_.Get(), boundMs) == WAIT_TIMEOUT) {
          std::fprintf(stderr, "%s within %lu ms: the test ends here\n", what, boundMs);
          std::fflush(stderr);
          PrintBacktraces();
          TerminateProcess(GetCurrentProcess(), 3);
        }
      }) {}

Watchdog::~Watchdog() {
  SetEvent(done_.Get());
  thread_.join();
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
  // Closed as the user closes it: a dialog first, then the window.
  for (int i = 0; i < 5 && !Ended(i ? 1000 : 0); ++i) {
    if (HWND window = Window()) PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (!Ended(5000)) TerminateProcess(handle_.Get(), 1);
  Ended(5000);
}

HWND Process::Window(const wchar_t* className, const std::wstring& caption) const {
  // The caption is asked only when it matters: a window whose thread is
  // stuck does not answer.
  for (HWND window : VisibleWindows(className, id_)) {
    if (caption.empty() || WindowText(window).rfind(caption, 0) == 0) return window;
  }
  return nullptr;
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
  // A stand-in that a test before has just closed may still hold its class
  // for a moment, and on a loaded machine a start may fail: try again.
  const Watchdog watchdog(40000, "the stand-in's control object was not reached");
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
  // A stand-in still asleep in a held call answers once it wakes; one stuck
  // for good would hold the test until its runner's timeout.
  const Watchdog watchdog(30000, "the stand-in did not close");
  if (control_) control_->CloseHost();  // it may be gone already
  ReleaseAndWaitForExit(10000);
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

std::wstring WithoutTimes(const std::wstring& log) {
  static const std::wregex time(L"\\[[0-9]{2}:[0-9]{2}\\]");
  return std::regex_replace(log, time, L"[00:00]");
}

std::wstring Expected(std::wstring log, const std::vector<Text>& received) {
  Text text = FromWide(log);
  for (const Text& line : received) chat::AppendEntry(text, chat::LogEntry(u"[00:00]", line));
  return std::wstring(Wide(text));
}

}  // namespace rapporta::test
