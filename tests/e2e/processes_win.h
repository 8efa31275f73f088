#pragma once
// The real programs driven from outside: the stand-in host through its
// control object, and rapporta.exe as a person drives it (controls reached
// by id, dialogs answered, closed as the user closes it). Both are gone when
// a test ends, so that the next test starts fresh ones; a program ended by
// force is the last resort, since it leaves the other calling a client that
// is gone.
#include <wrl/client.h>

#include <thread>

#include <gtest/gtest.h>

#include "common/com_apartment_win.h"
#include "common/text_win.h"
#include "common/unique_win.h"
#include "host/host.h"
#include "standin_control.h"  // generated
#include "support/pump_win.h"
#include "support/user_win.h"
#include "ui/form_controls_win.h"

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

// A program started by the test, or a running one it opened. One still
// running when the test lets go of it is closed, or else ended by force.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& arguments);
  explicit Process(DWORD id);
  ~Process();

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
  // starts so, now or within the time; else null.
  HWND Window(const wchar_t* className = nullptr, const std::wstring& caption = L"") const;
  HWND WaitForWindow(const wchar_t* className, const std::wstring& caption = L"",
                     std::chrono::milliseconds timeout = 10s) const {
    HWND window = nullptr;
    PumpUntil([&] { return (window = Window(className, caption)) != nullptr; }, timeout);
    return window;
  }
  // Waits for the process to end; false if it has not by then, or showed a
  // window of the class (any when null: "#32770" is a box or dialog) first.
  bool EndsWithoutShowing(const wchar_t* className, DWORD timeoutMs) const;

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// Ends this test's process, saying why and where every program of the prefix
// waited, unless the work it guards is done within the bound: a call into a
// program that never answers would otherwise hold the test silently until
// its runner's timeout, which tells nothing. The rerun starts afresh.
class Watchdog {
 public:
  Watchdog(DWORD boundMs, const char* what);
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  ~Watchdog();

 private:
  const UniqueHandle done_{CheckWin(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent")};
  std::thread thread_;
};

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
  // Lets go of the control object only; true when the stand-in then ended.
  bool ReleaseAndWaitForExit(DWORD waitMs) {
    control_.Reset();
    return process_->Ended(waitMs);
  }

 private:
  Microsoft::WRL::ComPtr<IStandinControl> control_;
  std::unique_ptr<Process> process_;
};

inline HWND ControlOf(HWND form, ui::ControlIndex index) {
  return GetDlgItem(form, ui::kFirstControlId + static_cast<int>(index));
}
inline void SetText(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// Types text into the input and clicks Send (posted: the test goes on).
inline void SendLine(HWND form, const std::wstring& text) {
  SetText(ControlOf(form, ui::sInput), text);
  PostMessageW(ControlOf(form, ui::B_Send), BM_CLICK, 0, 0);
}
inline std::wstring BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xffff)); }
inline void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
// The log with every time prefix "[HH:MM]" written as "[00:00]": received
// texts that hold no "[" make this exact.
std::wstring WithoutTimes(const std::wstring& log);
// The log rule applied to texts received in order after log, each with the
// prefix "[00:00]".
std::wstring Expected(std::wstring log, const std::vector<Text>& received);
// The log box's text, times aside.
inline std::wstring LogOf(HWND form) {
  return WithoutTimes(WindowText(ControlOf(form, ui::lChat)));
}

// The host's events as a client receives them; a text "throw" fails.
struct EventRecorder : host::HostEvents {
  void ChatTextReceived(TextView text) override {
    if (text == u"throw") throw Failure("handler", static_cast<std::int32_t>(0x80041111));
    events.push_back(Text(text));
  }
  void Closing() override { events.push_back(u"<closing>"); }
  void SentLate(TextView, TextView line) override { events.push_back(u"<late>" + Text(line)); }
  std::vector<Text> events;
};

// A test with the stand-in host, from this test's own COM apartment.
class StandinTest : public ::testing::Test {
 protected:
  ComApartment apartment_;
  StandinSession standin_;
};

// rapporta.exe connected to the stand-in host, closed as the user closes it
// when the test ends.
class RunningRapporta : public StandinTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_ = rapporta_.ConnectedForm());
  }
  void TearDown() override {
    PostMessageW(form_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(rapporta_.Ended(10000));
  }
  std::wstring Log() const { return LogOf(form_); }
  // Waits until the box shows expected (times aside).
  bool Shows(const std::wstring& expected) {
    return PumpUntil([&] { return Log() == expected; }, 60s);
  }
  Rapporta rapporta_;
  HWND form_ = nullptr;
};

}  // namespace rapporta::test
