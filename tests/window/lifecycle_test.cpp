// Start-up, the single instance and the host's Closing.
#include "form_fixture.h"

#include <sddl.h>

#include <atomic>

#include "common/unique_win.h"
#include "ui/message_loop_win.h"

namespace rapporta::test {
namespace {

class Lifecycle : public FormTest {};

// Start-up tells the user (another copy runs, which then makes no host; a
// failure: the operation and its code) before anything shows; a start-up
// that cannot finish ends the program without showing the window and with
// no host object left.
TEST_F(Lifecycle, StartupReportsBeforeTheWindowShowsAndEndsWithoutItIfItCannotFinish) {
  UniqueHandle held;
  const struct {
    const char* what;
    std::function<void()> arrange;
    const wchar_t* report;  // what the report says; null: none
    ui::StartResult result = ui::StartResult::Ended;
    int created = 1;  // host objects asked for
  } cases[] = {
      // One this user may not open (its access list is empty) is an elevated
      // copy's: there all the same. (First: no copy made before holds the
      // name, which would be opened whatever the access list.)
      {"another copy runs elevated", [&] {
         PSECURITY_DESCRIPTOR nobody = nullptr;
         ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:", SDDL_REVISION_1, &nobody,
                                                              nullptr);
         SECURITY_ATTRIBUTES attributes{sizeof attributes, nobody, FALSE};
         held.Reset(CreateMutexW(&attributes, FALSE, TestInstanceName().c_str()));
         LocalFree(nobody);
         ASSERT_EQ(CreateMutexW(nullptr, FALSE, TestInstanceName().c_str()), nullptr);
       }, L"既に起動しています", ui::StartResult::Ended, 0},
      {"another copy runs",
       [&] { held.Reset(CreateMutexW(nullptr, FALSE, TestInstanceName().c_str())); },
       L"既に起動しています", ui::StartResult::Ended, 0},
      {"the host cannot be made", [&] {
         host->duringCreate = [] {
           throw Failure("CoCreateInstance(HostApp)", static_cast<std::int32_t>(0x80040154));
         };
       }, L"EchoLink に接続できませんでした。Rapporta を終了します。\r\n\r\n"
          L"詳細: CoCreateInstance(HostApp) / エラー 0x80040154"},
      {"the host closes meanwhile", [&] { host->duringCreate = [&] { host->events->Closing(); }; },
       nullptr},
      // The window then opens, unconnected.
      {"no host object", [&] { host->giveNoObject = true; }, L"Launch EchoLink Faild!!",
       ui::StartResult::Running},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host = std::make_shared<FakeHostState>();
    held.Reset();
    c.arrange();
    EXPECT_EQ(Start(), c.result);
    const bool runs = c.result == ui::StartResult::Running;
    EXPECT_EQ(Window() != nullptr, runs);
    EXPECT_EQ(VisibleForms(), runs ? 1 : 0);
    EXPECT_EQ(host->created, c.created);
    EXPECT_EQ(host->events, nullptr) << "a host object left";
    const auto seen = user.Take();
    ASSERT_EQ(seen.size(), c.report ? 1u : 0u);
    if (c.report) {
      EXPECT_NE(seen[0].text.find(c.report), std::wstring::npos) << seen[0].text;
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
// question's) closes the window once that loop has ended; the work under way
// finishes, a line received meanwhile included. (Moving the window runs the
// same loop as sizing it; the save dialog and the question are held by the
// same handler, as is a send waiting for the host: Sending's table closes
// the window during one.)
TEST_F(Lifecycle, ClosingInsideALoopClosesOnceTheLoopEndsAndTheWorkFinishes) {
  std::atomic<bool> asking = false, leaving = false;
  const std::wstring path = folder.Path(L"closing.txt");
  const struct {
    const char* name;
    std::function<void()> enter;
    std::function<bool()> inside;
  } loops[] = {
      {"sizing", [&] { PostMessageW(Window(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0); },
       [] { return InSystemLoop(GUI_INMOVESIZE); }},
      {"the system menu, by Alt+Space in the log", [&] {
         SetFocus(Control(lChat));
         PressKey(VK_SPACE, {VK_MENU});
       }, [] { return InSystemLoop(GUI_INMENUMODE); }},
      {"the log box's mouse menu", [&] { OpenLogMenu(); },
       [] { return InSystemLoop(GUI_INMENUMODE); }},
      {"the question before an existing file is replaced", [&] {
         WriteBytes(path, "old");
         user.Set({.fileName = path, .button = IDYES, .first = [&](HWND box) {
           if (!GetDlgItem(box, IDYES)) return;  // the save dialog
           asking = true;
           while (!leaving) Sleep(10);
         }});
         PostMessageW(Control(B_Save), BM_CLICK, 0, 0);
       }, [&] { return asking.load(); }},
  };
  // Ends whichever loop runs: a menu's, sizing's by Escape (to the thread:
  // the loop takes it even if the window has gone meanwhile), the
  // question's by Yes.
  const auto leave = [&] {
    EndMenu();
    PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    leaving = true;
  };
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.name);
    host = std::make_shared<FakeHostState>();
    asking = leaving = false;
    StartInFront();
    const HWND window = Window();
    bool closed = false, checked = false, aliveInLoop = false;
    int waits = 0;
    tick = [&] {
      if (!closed) {
        // Closing comes once the loop runs (or, failing that, at last).
        if (!loop.inside() && ++waits < 50) return;
        EXPECT_TRUE(loop.inside()) << "the loop never ran";
        host->events->Closing();
        closed = true;
      } else {
        if (!checked && (aliveInLoop = IsWindow(window) && host->events)) Receive(u"while busy");
        checked = true;
        leave();
      }
    };
    const ThreadTimer timer(SetTimer(nullptr, 0, 100, &Tick));
    loop.enter();
    EXPECT_EQ(ui::RunMessageLoop(*form), 0);  // once the window is gone
    EXPECT_TRUE(aliveInLoop) << "closed inside the loop";
    EXPECT_EQ(host->events, nullptr) << "the host kept";
    if (asking) {
      EXPECT_EQ(ReadBytes(path), "\r\n\r\n[14:07]while busy");
    }
    for (const Shown& shown : user.Take()) EXPECT_EQ(shown.text.find(L"詳細"), std::wstring::npos);
  }
}

}  // namespace
}  // namespace rapporta::test
