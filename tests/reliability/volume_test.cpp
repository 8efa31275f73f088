// Volume: a burst of received lines into the real rapporta.exe, and a long
// session of the real window with the real COM link to the stand-in host in
// this process. Handle, GDI and USER object counts stay flat, and once the
// window has closed the host holds nothing of it and it nothing of the host.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>
#include <string>

#include "host/host_app_win.h"
#include "common/bstr_win.h"
#include "rapporta_process_win.h"
#include "support/pump_win.h"
#include "ui/form1_win.h"
#include "ui/message_loop_win.h"
#include "window/form_fixture.h"

namespace rapporta::testing {
namespace {


// The system's own counts, and probes that work where those are not kept
// (Wine answers GetGuiResources and GetProcessHandleCount with 0): a batch of
// new objects gets the lowest free slots of the process's table, so the
// highest slot of a batch rises only when objects are left behind.
struct Counts {
  DWORD handles = 0;
  DWORD gdi = 0;
  DWORD user = 0;
  std::size_t handleSlot = 0;
  std::size_t gdiSlot = 0;
  std::size_t windows = 0;
  std::size_t workingSetKb = 0;
};

constexpr int kBatch = 300;

std::size_t HighestHandleSlot() {
  std::vector<HANDLE> batch;
  for (int i = 0; i < kBatch; ++i) batch.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::size_t highest = 0;
  for (HANDLE event : batch) {
    highest = std::max(highest, reinterpret_cast<std::uintptr_t>(event) / 4);
    CloseHandle(event);
  }
  return highest;
}

std::size_t HighestGdiSlot() {
  std::vector<HBRUSH> batch;
  for (int i = 0; i < kBatch; ++i) batch.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  std::size_t highest = 0;
  for (HBRUSH brush : batch) {
    highest = std::max(highest, reinterpret_cast<std::uintptr_t>(brush) & 0xFFFF);
    DeleteObject(brush);
  }
  return highest;
}

std::size_t WindowsOfThisThread() {
  std::size_t count = 0;
  auto countChild = [](HWND, LPARAM counter) -> BOOL {
    ++*reinterpret_cast<std::size_t*>(counter);
    return TRUE;
  };
  struct Context {
    std::size_t* count;
    WNDENUMPROC child;
  } context{&count, countChild};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM parameter) -> BOOL {
        auto& context = *reinterpret_cast<Context*>(parameter);
        ++*context.count;
        EnumChildWindows(window, context.child, reinterpret_cast<LPARAM>(context.count));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&context));
  return count;
}

Counts CountsNow() {
  const HANDLE process = GetCurrentProcess();
  Counts counts;
  GetProcessHandleCount(process, &counts.handles);
  counts.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  counts.user = GetGuiResources(process, GR_USEROBJECTS);
  counts.handleSlot = HighestHandleSlot();
  counts.gdiSlot = HighestGdiSlot();
  counts.windows = WindowsOfThisThread();
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
    counts.workingSetKb = memory.WorkingSetSize / 1024;
  }
  return counts;
}

void Print(const char* when, const Counts& counts) {
  std::printf(
      "%-34s handles %4lu (highest slot %4zu)  GDI %4lu (highest slot %4zu)  USER %4lu "
      "(windows %3zu)  working set %6zu KB\n",
      when, counts.handles, counts.handleSlot, counts.gdi, counts.gdiSlot, counts.user,
      counts.windows, counts.workingSetKb);
}

// Flat: what a leak of one object per append or per send would make
// hundreds, a few lazily made objects cannot.
constexpr DWORD kSlack = 8;

class Resources : public StandinTest {};

TEST_F(Resources, CountsStayFlatOver100000AppendsAnd1000SendsAndTheHostIsLeftClean) {
  ui::Form1 form({host::CreateHostApp, nullptr, [] { return chat::LocalTime{12, 34}; },
                  test::TestInstanceName()});
  ASSERT_EQ(form.Start(SW_SHOWNORMAL), ui::StartResult::Running);
  const HWND window = form.Window();
  auto append = [&](int from, int to) {
    for (int i = from; i < to; ++i) {
      form.ChatTextReceived(u"JA1ABC>line " + FromWide(std::to_wstring(i)));
      if (i % 5000 == 0) test::PumpPending(window);
    }
    test::PumpPending(window);
  };
  auto send = [&](int from, int to) {
    for (int i = from; i < to; ++i) {
      SetWindowTextW(form.Control(ui::sInput), (L"sent " + std::to_wstring(i)).c_str());
      SendMessageW(form.Control(ui::B_Send), BM_CLICK, 0, 0);
      if (i % 250 == 0) test::PumpPending(window);
    }
    test::PumpPending(window);
  };
  // Everything made once (fonts, scroll bar, proxies) is made here.
  append(0, 1000);
  send(0, 20);
  const Counts before = CountsNow();

  const ULONGLONG start = GetTickCount64();
  append(1000, 101000);
  const ULONGLONG appended = GetTickCount64();
  send(20, 1020);
  const ULONGLONG sent = GetTickCount64();
  const Counts after = CountsNow();
  Print("after warming up", before);
  Print("after 100000 appends, 1000 sends", after);
  std::printf("100000 appends %llu ms, 1000 sends over COM %llu ms\n", appended - start,
              sent - appended);

  EXPECT_LE(after.handles, before.handles + kSlack);
  EXPECT_LE(after.gdi, before.gdi + kSlack);
  EXPECT_LE(after.user, before.user + kSlack);
  EXPECT_LE(after.handleSlot, before.handleSlot + kSlack);
  EXPECT_LE(after.gdiSlot, before.gdiSlot + kSlack);
  EXPECT_EQ(after.windows, before.windows);
  {
    // The probes do see objects left behind.
    std::vector<HANDLE> events;
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 50; ++i) {
      events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
      brushes.push_back(CreateSolidBrush(RGB(0, i, 0)));
    }
    const Counts leaking = CountsNow();
    Print("with 50 events and brushes held", leaking);
    EXPECT_GE(leaking.handleSlot, after.handleSlot + 40);
    EXPECT_GE(leaking.gdiSlot, after.gdiSlot + 40);
    for (HANDLE event : events) CloseHandle(event);
    for (HBRUSH brush : brushes) DeleteObject(brush);
  }
  EXPECT_EQ(standin_.StationsAlive(), 0) << "no station outlives its call sign";
  EXPECT_EQ(standin_.SentLines().size(), 1020u);
  const Text log = form.LogText();
  EXPECT_EQ(log.substr(log.size() - 23), u"[12:34]N0CALL>sent 1019");
  EXPECT_LE(log.size(), chat::kLogLimit);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ui::RunMessageLoop(form), 0);
  EXPECT_EQ(form.Window(), nullptr);
  ExpectHostHoldsNothing();
  Print("after closing", CountsNow());
}

class Burst : public RunningRapporta {};

TEST_F(Burst, ABurstOf10000LinesArrivesInOrderAndTheNextLineIsWhole) {
  constexpr long kLines = 10000;
  std::vector<Text> received;
  for (long i = 0; i < kLines; ++i) received.push_back(u"burst line " + FromWide(std::to_wstring(i)));
  received.push_back(u"after the burst");
  const std::wstring expected = Expected(WithoutTimes(WindowText(log_)), received);

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
  Bstr prefix(u"burst line ");
  Check(standin_.Control().InjectNumbered(prefix.Get(), kLines), "InjectNumbered");
  const ULONGLONG raised = GetTickCount64();
  standin_.Inject(u"after the burst");
  const bool shown = Shows(expected, 60000);
  bursting = false;
  probe.join();
  std::printf("%ld lines: raised in %llu ms, all in the box after %llu ms, slowest answer %llu ms\n",
              kLines, raised - start, GetTickCount64() - start, slowest.load());
  EXPECT_LT(slowest.load(), 1000u) << "the window stopped answering";
  EXPECT_TRUE(shown);
  EXPECT_TRUE(Responsive(form_));
  EXPECT_FALSE(rapporta_.Ended());
}


}  // namespace
}  // namespace rapporta::testing
