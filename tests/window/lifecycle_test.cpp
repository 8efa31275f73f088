// Start-up, the single instance, the host's Closing and the failure policy.
#include "form_fixture.h"

#include <sddl.h>

#include "common/unique_win.h"
#include "ui/message_loop_win.h"

namespace rapporta::test {
namespace {

using ui::B_Send;
using ui::sInput;

class Lifecycle : public FormTest {
 protected:
  // A second copy tells the user, never shows its window nor makes a host.
  void ExpectASecondCopyEndsAtTheMessage(int visibleForms) {
    auto secondHost = std::make_shared<FakeHostState>();
    MessageBoxWatcher boxes;
    int visibleAtBox = -1;
    boxes.SetHandler([&](HWND) {
      visibleAtBox = VisibleForms();
      return false;
    });
    ui::Form1 second({FakeHostFactory(secondHost), nullptr, nullptr, TestInstanceName()});
    EXPECT_EQ(second.Start(SW_SHOWNORMAL), ui::StartResult::Ended);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].title, L"Rapporta");
    EXPECT_EQ(boxes.Boxes()[0].text, L"既に起動しています");
    EXPECT_FALSE(boxes.Boxes()[0].hasIcon);
    EXPECT_EQ(visibleAtBox, visibleForms) << "only the first window is visible";
    EXPECT_EQ(second.Window(), nullptr);
    EXPECT_EQ(secondHost->created, 0);
  }
  // Top-level windows of the program's class that are visible.
  static int VisibleForms() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountVisibleForm, reinterpret_cast<LPARAM>(&count));
    return count;
  }
  static BOOL CALLBACK CountVisibleForm(HWND window, LPARAM counter) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring_view(name) == L"Rapporta.Form1" && IsWindowVisible(window))
      ++*reinterpret_cast<int*>(counter);
    return TRUE;
  }
};

TEST_F(Lifecycle, ConnectedStartShowsCallsignAndVersionAndTurnsTheTimeOn) {
  host->duringCreate = [&] { host->events->ChatTextReceived(u"early"); };
  StartForm();
  EXPECT_EQ(WindowText(Window()), L"Rapporta! <N0CALL> Ver 0.0.29");
  EXPECT_TRUE(form->ShowTime());
  EXPECT_TRUE(IsWindowVisible(Window()));
  // A line received before start-up finished has no time prefix.
  host->events->ChatTextReceived(u"late");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\nearly\r\n\r\n[14:07]late");
}

TEST_F(Lifecycle, SecondInstanceShowsTheMessageAndLeavesTheFirstUntouched) {
  StartForm();
  host->events->ChatTextReceived(u"first");
  const std::wstring log = LogBoxText();
  ExpectASecondCopyEndsAtTheMessage(1);
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_EQ(WindowText(Window()), L"Rapporta! <N0CALL> Ver 0.0.29");
  EXPECT_EQ(LogBoxText(), log);
  EXPECT_FALSE(host->released);
}

// What an elevated first copy's mutex is to a second copy: one whose security
// descriptor lets this user do nothing with it.
TEST_F(Lifecycle, AnInstanceThisCopyMayNotOpenIsAnotherInstance) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const UniqueHandle held(CreateMutexW(&attributes, FALSE, TestInstanceName().c_str()));
  LocalFree(descriptor);
  ASSERT_TRUE(held);
  // The system enforces it (Wine does too): this user may not create it again.
  ASSERT_EQ(CreateMutexW(nullptr, FALSE, TestInstanceName().c_str()), nullptr);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ExpectASecondCopyEndsAtTheMessage(0);
}

TEST_F(Lifecycle, NoHostObjectTellsTheUserBeforeTheWindowOpensUnconnected) {
  host->giveNoObject = true;
  MessageBoxWatcher boxes;
  int visibleAtBox = -1;
  boxes.SetHandler([&](HWND) {
    visibleAtBox = VisibleForms();
    return false;
  });
  StartForm();
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].title, L"missing!!");
  EXPECT_EQ(boxes.Boxes()[0].text, L"Launch EchoLink Faild!!");
  EXPECT_FALSE(boxes.Boxes()[0].hasIcon);
  EXPECT_EQ(visibleAtBox, 0);
  EXPECT_EQ(WindowText(Window()), L"Form1");
  EXPECT_FALSE(form->ShowTime());
  // Sending without a host: nothing happens, the typed text stays.
  SetWindowTextW(Control(sInput), L"kept");
  Click(B_Send);
  EXPECT_EQ(WindowText(Control(sInput)), L"kept");
  EXPECT_EQ(LogBoxText(), L"");
  EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(Lifecycle, ClosingDestroysTheWindowReleasesTheHostAndEndsTheLoop) {
  StartForm();
  SetWindowTextW(Control(sInput), L"being typed");
  host->events->Closing();
  EXPECT_EQ(ui::RunMessageLoop(*form), 0);
  EXPECT_EQ(form->Window(), nullptr);
  EXPECT_TRUE(host->released);
}

TEST_F(Lifecycle, ClosingInTheMiddleOfASendClosesOnceTheSendHasEnded) {
  StartForm();
  host->duringSend = [&] {
    host->events->Closing();
    PumpFor(100ms);  // a call to an out-of-process host pumps messages
  };
  SetWindowTextW(Control(sInput), L"bye");
  PostMessageW(Control(B_Send), BM_CLICK, 0, 0);
  // The loop runs the click; the send finishes (call sign read, echo) before
  // the window goes.
  EXPECT_EQ(ui::RunMessageLoop(*form), 0);
  EXPECT_EQ(host->sent, std::vector<Text>{u"bye"});
  EXPECT_EQ(host->callsignReads, 2) << "the send finished its steps";
  EXPECT_EQ(form->Window(), nullptr);
  EXPECT_TRUE(host->released);
}

TEST_F(Lifecycle, ClosingWhileAFailureIsReportedWaitsForTheBox) {
  StartForm();
  host->failNextCall = Failure("SendChat", static_cast<std::int32_t>(0x800706BA));
  MessageBoxWatcher boxes;
  bool aliveAtBox = false;
  boxes.SetHandler([&](HWND) {
    host->events->Closing();
    PumpFor(100ms);
    aliveAtBox = form->Window() != nullptr;
    return false;
  });
  PostMessageW(Control(B_Send), BM_CLICK, 0, 0);
  EXPECT_EQ(ui::RunMessageLoop(*form), 0);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_TRUE(aliveAtBox);
  EXPECT_EQ(form->Window(), nullptr);
}

// Runs on each tick of a thread timer; the loops the system runs dispatch
// timer messages as they dispatch the host's calls.
std::function<void()>* g_tick = nullptr;
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) { (*g_tick)(); }

bool InSystemLoop(DWORD flag) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  return GetGUIThreadInfo(GetCurrentThreadId(), &gui) && (gui.flags & flag) != 0;
}

TEST_F(Lifecycle, ClosingInsideTheSystemsModalLoopsClosesOnceTheLoopEnds) {
  struct Loop {
    const char* name;
    DWORD flag;  // the loop, as GetGUIThreadInfo tells it
    std::function<void(HWND window, HWND log)> enter;
    std::function<void()> leave;
  };
  // To the thread: the loop takes it even if the window has gone meanwhile.
  const auto escape = [] { PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0); };
  const auto endMenu = [] { EndMenu(); };
  const Loop loops[] = {
      {"moving", GUI_INMOVESIZE,
       [](HWND window, HWND) { PostMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); },
       escape},
      {"sizing", GUI_INMOVESIZE,
       [](HWND window, HWND) { PostMessageW(window, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0); },
       escape},
      {"the system menu, by Alt+Space in the log", GUI_INMENUMODE,
       [](HWND, HWND log) {
         SetFocus(log);
         PressKey(VK_SPACE, {VK_MENU});
       },
       endMenu},
      {"the log box's mouse menu", GUI_INMENUMODE,
       [](HWND, HWND log) {
         RECT box{};
         GetWindowRect(log, &box);
         PostMessageW(log, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(log),
                      MAKELPARAM(box.left + 20, box.top + 20));
       },
       endMenu},
  };
  for (const Loop& loop : loops) {
    SCOPED_TRACE(loop.name);
    host = std::make_shared<FakeHostState>();
    StartForm();
    ASSERT_TRUE(MakeForeground(Window()));
    const HWND window = Window();
    bool closed = false, checked = false, aliveInLoop = false;
    int waits = 0;
    std::function<void()> tick = [&] {
      if (!closed) {
        // Closing comes once the loop runs (or, failing that, at last).
        if (!InSystemLoop(loop.flag) && ++waits < 50) return;
        EXPECT_TRUE(InSystemLoop(loop.flag)) << "the loop never ran";
        host->events->Closing();
        closed = true;
      } else if (!checked) {
        aliveInLoop = IsWindow(window) && !host->released;
        checked = true;
        loop.leave();
      } else if (InSystemLoop(loop.flag)) {
        loop.leave();
      }
    };
    g_tick = &tick;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &OnTick);
    loop.enter(window, Control(ui::lChat));
    EXPECT_EQ(ui::RunMessageLoop(*form), 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(aliveInLoop) << "closed inside the loop";
    EXPECT_EQ(form->Window(), nullptr);
    EXPECT_TRUE(host->released);
  }
}

TEST_F(Lifecycle, ClosingDuringStartupEndsWithoutShowingTheWindow) {
  host->duringCreate = [&] { host->events->Closing(); };
  form = std::make_unique<ui::Form1>(Services());
  EXPECT_EQ(form->Start(SW_SHOWNORMAL), ui::StartResult::Ended);
  EXPECT_EQ(form->Window(), nullptr);
  EXPECT_TRUE(host->released);
  EXPECT_EQ(host->callsignReads, 0);
  EXPECT_EQ(VisibleForms(), 0);
}

// Fails the first layout as a control that goes away would: the "Send" button
// is destroyed once the log box is given its first fitted size.
HWND g_firstLogSize = nullptr;
LRESULT CALLBACK DestroySendAtTheFirstLayout(int code, WPARAM wParam, LPARAM lParam) {
  const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call.message == WM_WINDOWPOSCHANGING &&
      GetDlgCtrlID(call.hwnd) == ui::kFirstControlId + ui::lChat) {
    const auto& position = *reinterpret_cast<const WINDOWPOS*>(call.lParam);
    static int designedHeight = -1;
    if (g_firstLogSize != call.hwnd) designedHeight = position.cy;  // placed as designed
    g_firstLogSize = call.hwnd;
    if (position.cy != designedHeight) {
      DestroyWindow(GetDlgItem(GetParent(call.hwnd), ui::kFirstControlId + ui::B_Send));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Lifecycle, FailedFirstLayoutEndsStartupLikeAnyStartupFailure) {
  MessageBoxWatcher boxes;
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &DestroySendAtTheFirstLayout, nullptr,
                                       GetCurrentThreadId());
  form = std::make_unique<ui::Form1>(Services());
  const ui::StartResult result = form->Start(SW_SHOWNORMAL);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(result, ui::StartResult::Ended);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text.rfind(L"SetWindowPos", 0), 0u) << boxes.Boxes()[0].text;
  EXPECT_EQ(form->Window(), nullptr);
  EXPECT_EQ(host->created, 0);
  EXPECT_EQ(VisibleForms(), 0);
}

TEST_F(Lifecycle, FailingHostCallIsReportedAndTheWindowKeepsItsLog) {
  StartForm();
  host->events->ChatTextReceived(u"keep");
  const std::wstring log = LogBoxText();
  host->failNextCall = Failure("SendChat", static_cast<std::int32_t>(0x800706BA));
  MessageBoxWatcher boxes;
  SetWindowTextW(Control(sInput), L"hello");
  Click(B_Send);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find(L"SendChat"), std::wstring::npos) << boxes.Boxes()[0].text;
  EXPECT_NE(boxes.Boxes()[0].text.find(L"0x800706BA"), std::wstring::npos);
  EXPECT_EQ(boxes.Boxes()[0].title, L"Rapporta");
  EXPECT_NE(Window(), nullptr);
  EXPECT_EQ(LogBoxText(), log);
  EXPECT_EQ(WindowText(Control(sInput)), L"hello");
  // And the next send works.
  Click(B_Send);
  EXPECT_EQ(host->sent, std::vector<Text>{u"hello"});
}

TEST_F(Lifecycle, FailureDuringStartupIsReportedAndEndsTheProgram) {
  host->failCreate = Failure("CoCreateInstance", static_cast<std::int32_t>(0x80040154));
  MessageBoxWatcher boxes;
  form = std::make_unique<ui::Form1>(Services());
  EXPECT_EQ(form->Start(SW_SHOWNORMAL), ui::StartResult::Ended);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].text.find(L"CoCreateInstance"), std::wstring::npos);
  EXPECT_NE(boxes.Boxes()[0].text.find(L"0x80040154"), std::wstring::npos);
  EXPECT_EQ(form->Window(), nullptr);
}

}  // namespace
}  // namespace rapporta::test
