// A host that is slow or stuck, through the real stand-in host and the real
// rapporta.exe: every hang point is bounded and reported as the host not
// answering, the user can always close the window, and a line edited while
// its send is out is neither misreported nor lost.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "common/failure.h"
#include "common/bstr_win.h"
#include "rapporta_process_win.h"

namespace rapporta::testing {
namespace {

// The bound the program is given here instead of 10 s (creation 30 s), and
// how long the stand-in holds a call: past the bound, but it wakes again
// before the test ends, so that it can be closed as a host is.
constexpr DWORD kBound = 3000;
constexpr DWORD kHold = kBound + 5000;
// The user closes, or dismisses the report: the program must be gone by then.
constexpr DWORD kCloseLimit = 3000;

void SetEnvironment(const wchar_t* name, DWORD milliseconds) {
  SetEnvironmentVariableW(name, milliseconds ? std::to_wstring(milliseconds).c_str() : nullptr);
}

void Delay(StandinSession& standin, const char16_t* operation, DWORD milliseconds) {
  Bstr name(operation);
  Check(standin.Control().DelayOperation(name.Get(), static_cast<long>(milliseconds)),
        "DelayOperation");
}

// The stand-in's thread is asleep in a call: its window answers nothing.
// (A call to the stand-in now would wait with it.)
bool HostAsleep(StandinSession& standin) {
  const HWND window = VisibleWindowOf(standin.ProcessId(), nullptr);
  DWORD_PTR result = 0;
  return window && !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result);
}

// Waits for the process to end; false if it has not by then, or showed a box
// or dialog first.
bool EndsWithoutAnyBox(RapportaProcess& rapporta, DWORD timeout) {
  bool box = false;
  WaitFor(
      [&] {
        box = box || rapporta.VisibleWindow(L"#32770") != nullptr;
        return rapporta.Ended();
      },
      timeout);
  return rapporta.Ended() && !box;
}

DWORD Since(DWORD start) { return GetTickCount() - start; }

class SlowHost : public ::testing::Test {
 protected:
  SlowHost() { SetEnvironment(L"RAPPORTA_HOST_BOUND_MS", kBound); }
  ~SlowHost() override { SetEnvironment(L"RAPPORTA_HOST_BOUND_MS", 0); }

  ComApartment apartment_;
  std::optional<StandinSession> standin_;
};

TEST_F(SlowHost, ALineEditedWhileItsSendIsOutIsEchoedAsSentAndTheEditIsKept) {
  standin_.emplace();
  RapportaProcess rapporta;
  HWND form = rapporta.ConnectedForm();
  ASSERT_TRUE(form);
  const HWND log = ControlOf(form, ui::lChat);
  const HWND input = ControlOf(form, ui::sInput);
  const std::wstring first = L"\r\n\r\n[00:00]N0CALL>first";
  Delay(*standin_, u"SendChat", 1500);  // slow, but within the bound
  SendLine(form, L"first");
  ASSERT_TRUE(WaitFor([&] { return HostAsleep(*standin_); }));
  // Another program puts text into the box while the host has the line.
  SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"second"));
  ASSERT_TRUE(WaitFor([&] { return WithoutTimes(WindowText(log)) == first; }));
  EXPECT_EQ(WindowText(input), L"second");

  PostMessageW(input, WM_CHAR, L'\r', 0);
  EXPECT_TRUE(WaitFor([&] {
    return WithoutTimes(WindowText(log)) == first + L"\r\n\r\n[00:00]N0CALL>second";
  }));
  EXPECT_EQ(WindowText(input), L"");
  EXPECT_EQ(standin_->SentLines(), (std::vector<Text>{u"first", u"second"}));
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(rapporta.Ended(10000));
}

enum class Point { Create, StartupCallsign, Send, CallsignAfterSend };

struct HangCase {
  const char* name;
  Point point;
  DWORD closeAt;         // ms into the send when the user closes; 0: never
  const wchar_t* named;  // the call the report names
};

void PrintTo(const HangCase& c, std::ostream* out) { *out << c.name; }

const HangCase kHangCases[] = {
    {"creation", Point::Create, 0, L"CoCreateInstance(HostApp)"},
    {"startup_callsign", Point::StartupCallsign, 0, L"HostStation.Callsign"},
    {"send", Point::Send, 0, L"HostApp.SendChat"},
    {"callsign_after_send", Point::CallsignAfterSend, 0, L"HostStation.Callsign"},
    // Within the grace the close waits for it; past it, it acts at once.
    {"user_closes_early_in_a_stuck_send", Point::Send, 100, nullptr},
    {"user_closes_late_in_a_stuck_send", Point::Send, 1500, nullptr},
};

class HangPoint : public SlowHost, public ::testing::WithParamInterface<HangCase> {
 protected:
  ~HangPoint() override {
    // A stand-in started by the program itself is joined once it is awake,
    // and closed like the others.
    try {
      if (!standin_) standin_.emplace();
    } catch (const Failure&) {
    }
  }
};

TEST_P(HangPoint, IsBoundedReportedAndNeverKeepsTheUserFromClosing) {
  const HangCase& c = GetParam();
  const bool atStartup = c.point == Point::Create || c.point == Point::StartupCallsign;
  if (c.point == Point::Create) {
    // No stand-in runs: the program's creation starts it, and it hangs there.
    SetEnvironment(L"RAPPORTA_STANDIN_DELAY_CREATE", kHold);
  } else {
    standin_.emplace();
    if (c.point == Point::StartupCallsign) Delay(*standin_, u"Callsign", kHold);
  }
  RapportaProcess rapporta;
  DWORD start = GetTickCount();
  SetEnvironment(L"RAPPORTA_STANDIN_DELAY_CREATE", 0);
  HWND form = nullptr;
  std::wstring log;
  if (!atStartup) {
    form = rapporta.ConnectedForm();
    ASSERT_TRUE(form);
    log = WindowText(ControlOf(form, ui::lChat));
    if (c.point == Point::CallsignAfterSend) {
      standin_->SetCallsign(u"JA1NEW");  // the echo must not wait for it
      Delay(*standin_, u"Callsign", kHold);
    } else {
      Delay(*standin_, u"SendChat", kHold);
    }
    start = GetTickCount();
    SendLine(form, L"stuck line");
    ASSERT_TRUE(WaitFor([&] { return HostAsleep(*standin_); }));
  }

  if (c.closeAt != 0) {
    while (Since(start) < c.closeAt) Sleep(10);
    const DWORD closed = GetTickCount();
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(EndsWithoutAnyBox(rapporta, kCloseLimit));
    std::printf("%s: closed %lu ms into the send, gone after %lu ms\n", c.name,
                closed - start, Since(closed));
    return;
  }

  // The report comes once the bound has passed, and never before; at
  // start-up the window is never shown.
  bool shown = false;
  HWND box = nullptr;
  WaitFor(
      [&] {
        shown = shown || (atStartup && rapporta.VisibleWindow() != nullptr);
        box = rapporta.VisibleWindow(L"#32770");
        return box != nullptr;
      },
      kHold - 1000);
  const DWORD reported = Since(start);
  ASSERT_TRUE(box) << c.name << ": no report within " << kHold - 1000 << " ms";
  std::printf("%s: reported %lu ms after the call went out\n", c.name, reported);
  EXPECT_GE(reported, kBound) << c.name;
  EXPECT_FALSE(shown) << c.name;
  const std::wstring text = BoxText(box);
  EXPECT_NE(text.find(c.named), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"応答しませんでした"), std::wstring::npos) << text;
  Press(box, IDOK);

  if (atStartup) {
    // The start-up failed: the program ends.
    const DWORD dismissed = GetTickCount();
    EXPECT_TRUE(rapporta.Ended(kCloseLimit)) << c.name;
    std::printf("%s: ended %lu ms after the report\n", c.name, Since(dismissed));
    return;
  }
  // Still running, log kept; a sent line is echoed even so, an unsent one
  // stays in the box.
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(Responsive(form));
  const std::wstring now = WindowText(ControlOf(form, ui::lChat));
  const std::wstring input = WindowText(ControlOf(form, ui::sInput));
  if (c.point == Point::Send) {
    EXPECT_EQ(now, log);
    EXPECT_EQ(input, L"stuck line");
  } else {
    EXPECT_EQ(WithoutTimes(now), WithoutTimes(log) + L"\r\n\r\n[00:00]N0CALL>stuck line");
    EXPECT_EQ(input, L"");
  }
  // The host is still stuck: closing must not wait for it.
  const DWORD closed = GetTickCount();
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(EndsWithoutAnyBox(rapporta, kCloseLimit)) << c.name;
  std::printf("%s: closed with the host still stuck, gone after %lu ms\n", c.name, Since(closed));
}

INSTANTIATE_TEST_SUITE_P(EachPoint, HangPoint, ::testing::ValuesIn(kHangCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rapporta::testing
