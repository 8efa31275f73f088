// Start-up, the single instance, the host's Closing and the failure policy.
#include "form_fixture.h"

#include <sddl.h>

#include <atomic>

#include "common/unique_win.h"
#include "ui/message_loop_win.h"

namespace rapporta::test {
namespace {

class Lifecycle : public FormTest {};

const Failure kRpcFailed("SendChat", static_cast<std::int32_t>(0x800706BA));

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
  EXPECT_FALSE(host->released);
}

TEST_F(Lifecycle, NoHostObjectTellsTheUserBeforeTheWindowOpensUnconnected) {
  host->giveNoObject = true;
  StartForm();
  const auto seen = user.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"missing!!");
  EXPECT_EQ(seen[0].formsVisible, 0);
  EXPECT_EQ(WindowText(Window()), L"Form1");
  EXPECT_FALSE(form->ShowTime());
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

// A start-up that cannot finish ends the program without showing the window;
// a failure is reported (the operation and its code) before anything shows.
TEST_F(Lifecycle, StartupThatCannotFinishEndsWithoutShowingTheWindow) {
  HHOOK hook = nullptr;
  const struct {
    const char* what;
    std::function<void()> arrange;
    const wchar_t* report;  // how the report starts; null: none
    int created;            // host objects made
  } cases[] = {
      {"the host cannot be made", [&] {
         host->failCreate = Failure("CoCreateInstance", static_cast<std::int32_t>(0x80040154));
       }, L"CoCreateInstance に失敗しました。\r\n\r\nエラー 0x80040154", 1},
      {"the host closes meanwhile", [&] { host->duringCreate = [&] { host->events->Closing(); }; },
       nullptr, 1},
      {"the first layout fails", [&] {
         hook = SetWindowsHookExW(WH_CALLWNDPROC, &DestroySendAtTheFirstLayout, nullptr,
                                  GetCurrentThreadId());
       }, L"SetWindowPos", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host = std::make_shared<FakeHostState>();
    c.arrange();
    EXPECT_EQ(Start(), ui::StartResult::Ended);
    if (hook) UnhookWindowsHookEx(std::exchange(hook, nullptr));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(VisibleForms(), 0);
    EXPECT_EQ(host->created, c.created);
    EXPECT_EQ(host->released, c.created == 1 && !host->failCreate);
    const auto seen = user.Take();
    ASSERT_EQ(seen.size(), c.report ? 1u : 0u);
    if (c.report) {
      EXPECT_EQ(seen[0].text.rfind(c.report, 0), 0u) << seen[0].text;
      EXPECT_EQ(seen[0].formsVisible, 0);
    }
  }
}

TEST_F(Lifecycle, FailingHostCallIsReportedAndTheWindowGoesOn) {
  StartForm();
  host->failNextCall = kRpcFailed;
  SetWindowTextW(Control(sInput), L"hello");
  Click(B_Send);
  const auto seen = user.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"Rapporta");
  EXPECT_EQ(seen[0].text.rfind(L"SendChat に失敗しました。\r\n\r\nエラー 0x800706BA", 0), 0u)
      << seen[0].text;
  EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(seen[0].owner, Window());
  // And the next send works.
  Click(B_Send);
  EXPECT_EQ(host->sent, std::vector<Text>{u"hello"});
}

// Runs tick on each tick of a thread timer, also inside the modal loops of
// the system and of dialogs: they dispatch timer messages as they dispatch
// the host's calls.
class Ticking {
 public:
  Ticking(std::function<void()> tick, UINT ms) : timer_(SetTimer(nullptr, 0, ms, &Tick)) {
    current = std::move(tick);
  }
  ~Ticking() {
    KillTimer(nullptr, timer_);
    current = nullptr;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { current(); }
  static inline std::function<void()> current;
  UINT_PTR timer_;
};

bool InSystemLoop(DWORD flag) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  return GetGUIThreadInfo(GetCurrentThreadId(), &gui) && (gui.flags & flag) != 0;
}

// Closing raised inside a loop that runs under a handler (the system's, a
// box's, a host call's) closes the window once that loop has ended. (Moving
// the window runs the same loop as sizing it.)
TEST_F(Lifecycle, ClosingInsideALoopClosesOnceTheLoopEnds) {
  std::atomic<bool> inSend = false, leave = false;
  bool reported = false;
  // The failure report stays up until the test lets it go.
  user.Set({.first = [&](HWND) {
    for (int i = 0; i < 1000 && !leave; ++i) Sleep(10);
  }});
  // To the thread: the loop takes it even if the window has gone meanwhile.
  const auto escape = [] { PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0); };
  const auto click = [&] { PostMessageW(Control(B_Send), BM_CLICK, 0, 0); };
  const struct {
    const char* name;
    std::function<void()> enter;
    std::function<bool()> inside;
    std::function<void()> leave;
    int callsignReads;  // 1 + the sends that ended
  } loops[] = {
      {"sizing", [&] { PostMessageW(Window(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0); },
       [] { return InSystemLoop(GUI_INMOVESIZE); }, escape, 1},
      {"the system menu, by Alt+Space in the log", [&] {
         SetFocus(Control(lChat));
         PressKey(VK_SPACE, {VK_MENU});
       }, [] { return InSystemLoop(GUI_INMENUMODE); }, [] { EndMenu(); }, 1},
      {"the log box's mouse menu", [&] {
         RECT box{};
         GetWindowRect(Control(lChat), &box);
         PostMessageW(Control(lChat), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(lChat)),
                      MAKELPARAM(box.left + 20, box.top + 20));
       }, [] { return InSystemLoop(GUI_INMENUMODE); }, [] { EndMenu(); }, 1},
      // A call to an out-of-process host pumps messages.
      {"a send", [&] {
         host->duringSend = [&] {
           inSend = true;
           PumpUntil([&] { return leave.load(); });
         };
         click();
       }, [&] { return inSend.load(); }, [&] { leave = true; }, 2},
      {"a failure report", [&] {
         host->failNextCall = kRpcFailed;
         click();
       }, [&] { return reported = reported || !user.Take().empty(); }, [&] { leave = true; }, 1},
  };
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.name);
    host = std::make_shared<FakeHostState>();
    inSend = leave = reported = false;
    StartInFront();
    const HWND window = Window();
    bool closed = false, checked = false, aliveInLoop = false;
    int waits = 0;
    const Ticking ticking([&] {
      if (!closed) {
        // Closing comes once the loop runs (or, failing that, at last).
        if (!loop.inside() && ++waits < 50) return;
        EXPECT_TRUE(loop.inside()) << "the loop never ran";
        host->events->Closing();
        closed = true;
      } else if (!checked) {
        aliveInLoop = IsWindow(window) && !host->released;
        checked = true;
        loop.leave();
      } else if (loop.inside()) {
        loop.leave();
      }
    }, 100);
    loop.enter();
    EXPECT_EQ(ui::RunMessageLoop(*form), 0);
    EXPECT_TRUE(aliveInLoop) << "closed inside the loop";
    EXPECT_EQ(form->Window(), nullptr);
    EXPECT_TRUE(host->released);
    EXPECT_EQ(host->callsignReads, loop.callsignReads);
  }
}

}  // namespace
}  // namespace rapporta::test
