// A host that is slow or stuck, through the real stand-in host and the real
// rapporta.exe: every hang point is bounded and reported as the host not
// answering, and the program ends at once when the user closes it or
// start-up fails, though the host still holds the call. A send given up is
// refused again as busy, echoed when the host carries it out after all, and
// never sent twice. (Lines typed while a send is out are the window's
// tests'.)
#include <cstdio>
#include <optional>

#include "common/bstr_win.h"
#include "processes_win.h"

namespace rapporta::test {
namespace {

// The bound the program is given here instead of 10 s (creation 30 s), and
// how long the stand-in holds a call: past the bound, but it wakes again
// before the test ends, so that it can be closed as a host is.
constexpr DWORD kBound = 3000;
constexpr DWORD kHold = kBound + 5000;
constexpr std::chrono::milliseconds kReportWithin(kHold - 1000);
// The user closes, or dismisses the report: the program must be gone by then.
constexpr DWORD kCloseLimit = 3000;

void SetEnvironment(const wchar_t* name, DWORD milliseconds) {
  SetEnvironmentVariableW(name, milliseconds ? std::to_wstring(milliseconds).c_str() : nullptr);
}

enum class Point { Create, Send, CallsignAfterSend };

struct HangCase {
  const char* name;
  Point point;           // the call the host holds, for kHold
  DWORD closeAt;         // ms into the send when the user closes; 0: never
  const wchar_t* named;  // the call the report names; null: no report
};

const HangCase kHangCases[] = {
    {"creation", Point::Create, 0, L"CoCreateInstance(HostApp)"},
    {"send", Point::Send, 0, L"HostApp.SendChat"},
    {"callsign_after_send", Point::CallsignAfterSend, 0, L"HostStation.Callsign"},
    {"user_closes_in_a_stuck_send", Point::Send, 1500, nullptr},
};

class HangPoint : public ::testing::TestWithParam<HangCase> {
 protected:
  HangPoint() { SetEnvironment(L"RAPPORTA_HOST_BOUND_MS", kBound); }
  ~HangPoint() override { SetEnvironment(L"RAPPORTA_HOST_BOUND_MS", 0); }
  // The stand-in's thread is asleep in a call: its window answers nothing.
  // (A call to the stand-in now would wait with it.)
  bool HostAsleep() {
    const HWND window = standin_->Program().Window();
    DWORD_PTR result = 0;
    return window && !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result);
  }
  std::wstring Input() { return WindowText(ControlOf(form_, ui::sInput)); }

  ComApartment apartment_;
  std::optional<StandinSession> standin_;
  std::optional<Rapporta> rapporta_;
  HWND form_ = nullptr;
};

TEST_P(HangPoint, IsBoundedReportedAndNeverKeepsTheUserFromClosing) {
  const HangCase& c = GetParam();
  const bool atStartup = c.point == Point::Create;
  // No stand-in runs at creation: the program's creation starts it (as it
  // does whenever the host is not running), and it hangs there.
  if (atStartup) SetEnvironment(L"RAPPORTA_STANDIN_DELAY_CREATE", kHold);
  if (!atStartup) standin_.emplace();
  rapporta_.emplace();
  DWORD start = GetTickCount();
  SetEnvironment(L"RAPPORTA_STANDIN_DELAY_CREATE", 0);
  std::wstring log;
  const std::wstring echo = L"\r\n\r\n[00:00]N0CALL>held line";
  if (!atStartup) {
    ASSERT_TRUE(form_ = rapporta_->ConnectedForm());
    log = LogOf(form_);
    // A new call sign must not hold the echo up.
    if (c.point == Point::CallsignAfterSend) {
      CheckHr((*standin_)->put_Callsign(Bstr(u"JA1NEW").Get()), "Callsign");
    }
    const Bstr held(c.point == Point::Send ? u"SendChat" : u"Callsign");
    CheckHr((*standin_)->DelayOperation(held.Get(), kHold), "DelayOperation");
    start = GetTickCount();
    SendLine(form_, L"held line");
    ASSERT_TRUE(PumpUntil([&] { return HostAsleep(); }));
  }
  if (c.closeAt != 0) {
    while (GetTickCount() - start < c.closeAt) Sleep(10);
  } else {
    // The report comes once the bound has passed, and never before; at
    // start-up the window is never shown.
    const HWND box = rapporta_->WaitForWindow(L"#32770", L"", kReportWithin);
    const DWORD reported = GetTickCount() - start;
    ASSERT_TRUE(box) << "no report within " << kReportWithin.count() << " ms";
    std::printf("%s: reported %lu ms after the call went out\n", c.name, reported);
    EXPECT_GE(reported, kBound);
    EXPECT_EQ(rapporta_->Window(L"Rapporta.Form1") == nullptr, atStartup);
    EXPECT_NE(BoxText(box).find(c.named), std::wstring::npos) << BoxText(box);
    EXPECT_NE(BoxText(box).find(L"応答しませんでした"), std::wstring::npos) << BoxText(box);
    Press(box, IDOK);
    if (atStartup) {
      // A start-up that failed ends the program. The stand-in it started
      // is joined, to be closed like the others.
      EXPECT_TRUE(rapporta_->Ended(kCloseLimit));
      if (!standin_) standin_.emplace();
      return;
    }
    // Still running, log kept; a sent line is echoed even so, an unsent one
    // stays in the box.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(PumpUntil([&] {
      return !IsWindow(box) &&
             SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    }));
    const bool sent = c.point != Point::Send;
    EXPECT_EQ(LogOf(form_), sent ? log + echo : log);
    EXPECT_EQ(Input(), sent ? L"" : L"held line");
    if (!sent) {
      // Sent again while the host still has it: refused at once as busy,
      // not as another call it did not answer.
      PostMessageW(ControlOf(form_, ui::B_Send), BM_CLICK, 0, 0);
      const HWND busy = rapporta_->WaitForWindow(L"#32770", L"", 1000ms);
      ASSERT_TRUE(busy);
      EXPECT_NE(BoxText(busy).find(L"まだ処理しています"), std::wstring::npos) << BoxText(busy);
      Press(busy, IDOK);
      // Once the host carries the given-up line out, the log shows it and
      // the box lets go of it: the host has it once.
      EXPECT_TRUE(PumpUntil([&] { return LogOf(form_) == log + echo && Input().empty(); },
                            std::chrono::milliseconds(kHold)));
      EXPECT_EQ(standin_->SentLines(), std::vector<Text>{u"held line"});
    }
  }
  // The host may still be stuck: closing must not wait for it.
  PostMessageW(form_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(rapporta_->EndsWithoutShowing(L"#32770", kCloseLimit));
}

INSTANTIATE_TEST_SUITE_P(EachPoint, HangPoint, ::testing::ValuesIn(kHangCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rapporta::test
