// Volume: a burst of received lines into the real rapporta.exe, and a long
// session of the real window with the real COM link to the stand-in host in
// this process. Handles and GDI objects stay flat, and once the
// window has closed the host holds nothing of it.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "chat/log_rule.h"
#include "common/bstr_win.h"
#include "host/host_app_win.h"
#include "processes_win.h"
#include "ui/form1_win.h"
#include "ui/message_loop_win.h"
#include "window/form_fixture.h"

namespace rapporta::test {
namespace {

// Wine answers GetProcessHandleCount and GetGuiResources with 0, so the
// tables are probed instead: a batch of new objects gets the lowest free
// slots of the process's table, and the highest slot of a batch rises only
// when objects are left behind.
struct Slots {
  std::size_t handles = 0, gdi = 0;
};

Slots HighestSlots(const char* when, std::size_t more = 0) {
  Slots highest;
  std::vector<std::pair<HANDLE, HBRUSH>> batch(300 + more);
  for (auto& [event, brush] : batch) {
    event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    brush = CreateSolidBrush(RGB(1, 2, 3));
    highest.handles = std::max(highest.handles, reinterpret_cast<std::size_t>(event) / 4);
    highest.gdi = std::max(highest.gdi, reinterpret_cast<std::size_t>(brush) & 0xFFFF);
  }
  for (auto& [event, brush] : batch) CloseHandle(event), DeleteObject(brush);
  std::printf("%-26s highest handle slot %4zu, GDI slot %4zu\n", when, highest.handles,
              highest.gdi);
  return highest;
}

// Flat: what a leak of one object per append or per send would make
// hundreds, a few lazily made objects cannot.
constexpr std::size_t kSlack = 8;

using Resources = StandinTest;

TEST_F(Resources, StayFlatOver100000AppendsAnd1000SendsAndTheHostIsLeftClean) {
  ui::Form1 form({host::CreateHostApp, nullptr, nullptr, TestInstanceName()});
  ASSERT_EQ(form.Start(SW_SHOWNORMAL), ui::StartResult::Running);
  const HWND window = form.Window();
  // A line sent (over COM) for every hundred received.
  auto session = [&](int from, int to) {
    for (int i = from * 100; i < to * 100; ++i) {
      form.ChatTextReceived(u"JA1ABC>line " + FromWide(std::to_wstring(i)));
      if (i % 100 != 0) continue;
      SetWindowTextW(form.Control(ui::sInput), L"sent");
      SendMessageW(form.Control(ui::B_Send), BM_CLICK, 0, 0);
      if (i % 5000 == 0) PumpPending(window);
    }
  };
  session(0, 20);  // everything made once (fonts, scroll bar, proxies) is made here
  const Slots before = HighestSlots("after warming up");
  session(20, 1020);
  const Slots after = HighestSlots("after the session");
  EXPECT_LE(after.handles, before.handles + kSlack);
  EXPECT_LE(after.gdi, before.gdi + kSlack);
  // The probe does see objects left behind: as if 50 of each were.
  const Slots leaking = HighestSlots("50 more of each", 50);
  EXPECT_GE(leaking.handles, after.handles + 40);
  EXPECT_GE(leaking.gdi, after.gdi + 40);
  EXPECT_EQ(standin_.Read(&IStandinControl::get_StationsAlive), 0)
      << "no station outlives its call sign";
  EXPECT_EQ(standin_.SentLines().size(), 1020u);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ui::RunMessageLoop(form), 0);
  EXPECT_TRUE(standin_.HoldsNothing());
}

using Burst = RunningRapporta;

TEST_F(Burst, ABurstOf10000LinesArrivesInOrderAndTheNextLineIsWhole) {
  constexpr long kLines = 10000;
  std::vector<Text> received(kLines + 1, u"after the burst");
  for (long i = 0; i < kLines; ++i) received[i] = u"burst line " + FromWide(std::to_wstring(i));
  // The log rule applied to them in order, each with the prefix "[00:00]".
  Text expected = FromWide(Log());
  for (const Text& line : received) chat::AppendEntry(expected, chat::LogEntry(u"[00:00]", line));

  // Meanwhile a second thread keeps asking the window for an answer.
  std::atomic<bool> bursting{true};
  std::atomic<ULONGLONG> slowest{0};
  std::thread probe([&] {
    while (bursting) {
      const ULONGLONG asked = GetTickCount64();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
      slowest = std::max<ULONGLONG>(slowest, GetTickCount64() - asked);
      Sleep(20);
    }
  });
  const ULONGLONG start = GetTickCount64();
  CheckHr(standin_->InjectNumbered(Bstr(u"burst line ").Get(), kLines), "InjectNumbered");
  standin_.Inject(u"after the burst");
  EXPECT_TRUE(Shows(std::wstring(Wide(expected))));
  bursting = false;
  probe.join();
  std::printf("%ld lines in the box after %llu ms, slowest answer meanwhile %llu ms\n", kLines,
              GetTickCount64() - start, slowest.load());
  EXPECT_LT(slowest.load(), 1000u) << "the window stopped answering";
}

}  // namespace
}  // namespace rapporta::test
