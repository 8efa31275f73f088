// Start-up, the single instance and the host's Closing.
#include "form_fixture.h"

#include <sddl.h>

#include "common/unique_win.h"
#include "ui/message_loop_win.h"

namespace rapporta::test {
namespace {

class Lifecycle : public FormTest {};

// A second copy tells the user, never shows its window nor makes a host, and
// leaves the first as it was; so too when this user may not open the first
// copy's mutex (an elevated first copy's, made here with a descriptor that
// allows nothing).
TEST_F(Lifecycle, ConnectedStartShowsCallsignAndVersionAndASecondCopyEndsAtTheMessage) {
  const auto expectSecondEnds = [&](int visibleForms) {
    auto secondHost = std::make_shared<FakeHostState>();
    ui::Form1 second({FakeHostFactory(secondHost), nullptr, nullptr, TestInstanceName()});
    EXPECT_EQ(second.Start(SW_SHOWNORMAL), ui::StartResult::Ended);
    const auto seen = user.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"既に起動しています");
    EXPECT_EQ(seen[0].icon, nullptr);
    EXPECT_EQ(seen[0].formsVisible, visibleForms);
    EXPECT_EQ(second.Window(), nullptr);
    EXPECT_EQ(secondHost->created, 0);
  };
  {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const UniqueHandle held(CreateMutexW(&attributes, FALSE, TestInstanceName().c_str()));
    LocalFree(descriptor);
    ASSERT_TRUE(held);
    // The system enforces it (Wine does too).
    ASSERT_EQ(CreateMutexW(nullptr, FALSE, TestInstanceName().c_str()), nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    expectSecondEnds(0);
  }
  host->duringCreate = [&] { Receive(u"early"); };
  StartForm();
  // A line received before start-up finished has no time prefix.
  Receive(u"late");
  const std::wstring log = LogBoxText();
  EXPECT_EQ(log, L"\r\n\r\nearly\r\n\r\n[14:07]late");
  expectSecondEnds(1);
  EXPECT_EQ(WindowText(Window()), L"Rapporta! <N0CALL> Ver 0.0.29");
  EXPECT_EQ(LogBoxText(), log);
  EXPECT_NE(host->events, nullptr) << "the host let go";
}

// Fails the first layout as a control that goes away would: the "Send" button
// is destroyed once the log box is given its first fitted size.
LRESULT CALLBACK DestroySendAtTheFirstLayout(int code, WPARAM wParam, LPARAM lParam) {
  const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  static HWND log = nullptr;
  static int designedHeight = -1;
  if (code == HC_ACTION && call.message == WM_WINDOWPOSCHANGING &&
      GetDlgCtrlID(call.hwnd) == ui::kFirstControlId + lChat) {
    const auto& position = *reinterpret_cast<const WINDOWPOS*>(call.lParam);
    if (log != call.hwnd) designedHeight = position.cy;  // placed as designed
    log = call.hwnd;
    if (position.cy != designedHeight)
      DestroyWindow(GetDlgItem(GetParent(call.hwnd), ui::kFirstControlId + B_Send));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Start-up tells the user of a failure (the operation and its code) before
// anything shows; a start-up that cannot finish ends the program without
// showing the window and with no host object left.
TEST_F(Lifecycle, StartupReportsBeforeTheWindowShowsAndEndsWithoutItIfItCannotFinish) {
  HHOOK hook = nullptr;
  const struct {
    const char* what;
    std::function<void()> arrange;
    const wchar_t* report;  // how the report starts; null: none
    int created;            // host objects made
    ui::StartResult result = ui::StartResult::Ended;
  } cases[] = {
      {"the host cannot be made", [&] {
         host->failCreate =
             Failure("CoCreateInstance(HostApp)", static_cast<std::int32_t>(0x80040154));
       }, L"EchoLink に接続できませんでした。Rapporta を終了します。\r\n\r\n"
          L"詳細: CoCreateInstance(HostApp) / エラー 0x80040154", 1},
      {"the host closes meanwhile", [&] { host->duringCreate = [&] { host->events->Closing(); }; },
       nullptr, 1},
      {"the first layout fails", [&] {
         hook = SetWindowsHookExW(WH_CALLWNDPROC, &DestroySendAtTheFirstLayout, nullptr,
                                  GetCurrentThreadId());
       }, L"予期しないエラーが起きました", 0},
      // The window then opens, unconnected.
      {"no host object", [&] { host->giveNoObject = true; }, L"Launch EchoLink Faild!!", 1,
       ui::StartResult::Running},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host = std::make_shared<FakeHostState>();
    c.arrange();
    EXPECT_EQ(Start(), c.result);
    if (hook) UnhookWindowsHookEx(std::exchange(hook, nullptr));
    const bool runs = c.result == ui::StartResult::Running;
    EXPECT_EQ(Window() != nullptr, runs);
    EXPECT_EQ(VisibleForms(), runs ? 1 : 0);
    EXPECT_EQ(host->created, c.created);
    EXPECT_EQ(host->events, nullptr) << "a host object left";
    const auto seen = user.Take();
    ASSERT_EQ(seen.size(), c.report ? 1u : 0u);
    if (c.report) {
      EXPECT_EQ(seen[0].text.rfind(c.report, 0), 0u) << seen[0].text;
      EXPECT_EQ(seen[0].formsVisible, 0);
    }
  }
}

// A thread timer's ticks come also inside the system's modal loops, which
// dispatch timer messages as they would the host's calls. Its callback is
// given no context: it runs this.
std::function<void()> tick;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { tick(); }
void KillThreadTimer(UINT_PTR timer) noexcept { KillTimer(nullptr, timer); }
using ThreadTimer = Unique<UINT_PTR, KillThreadTimer>;

// Closing raised inside a loop that runs under a handler (the system's, a
// host call's) closes the window once that loop has ended. (Moving the window
// runs the same loop as sizing it.)
TEST_F(Lifecycle, ClosingInsideALoopClosesOnceTheLoopEnds) {
  bool inSend = false, sendEnds = false;
  const struct {
    const char* name;
    std::function<void()> enter;
    DWORD loop;  // GUI_IN*; 0: the send's
  } loops[] = {
      {"sizing", [&] { PostMessageW(Window(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0); },
       GUI_INMOVESIZE},
      {"the system menu, by Alt+Space in the log", [&] {
         SetFocus(Control(lChat));
         PressKey(VK_SPACE, {VK_MENU});
       }, GUI_INMENUMODE},
      {"the log box's mouse menu", [&] { OpenLogMenu(); }, GUI_INMENUMODE},
      // A call to an out-of-process host pumps messages.
      {"a send", [&] {
         host->duringSend = [&] {
           inSend = true;
           PumpUntil([&] { return sendEnds; });
         };
         PostMessageW(Control(B_Send), BM_CLICK, 0, 0);
       }, 0},
  };
  const auto inside = [&](DWORD loop) { return loop ? InSystemLoop(loop) : inSend; };
  // Ends whichever loop runs: a menu's, sizing's by Escape (to the thread:
  // the loop takes it even if the window has gone meanwhile), the send's.
  const auto leave = [&] {
    EndMenu();
    PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    sendEnds = true;
  };
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.name);
    host = std::make_shared<FakeHostState>();
    inSend = sendEnds = false;
    StartInFront();
    const HWND window = Window();
    bool closed = false, checked = false, aliveInLoop = false;
    int waits = 0;
    tick = [&] {
      if (!closed) {
        // Closing comes once the loop runs (or, failing that, at last).
        if (!inside(loop.loop) && ++waits < 50) return;
        EXPECT_TRUE(inside(loop.loop)) << "the loop never ran";
        host->events->Closing();
        closed = true;
      } else {
        if (!checked) aliveInLoop = IsWindow(window) && host->events;
        checked = true;
        leave();
      }
    };
    const ThreadTimer timer(SetTimer(nullptr, 0, 100, &Tick));
    loop.enter();
    EXPECT_EQ(ui::RunMessageLoop(*form), 0);
    EXPECT_TRUE(aliveInLoop) << "closed inside the loop";
    EXPECT_EQ(form->Window(), nullptr);
    EXPECT_EQ(host->events, nullptr) << "the host kept";
  }
}

}  // namespace
}  // namespace rapporta::test
