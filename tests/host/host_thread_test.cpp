// The host calls' machinery alone: each answer kept to its own call, a call
// given up at its bound, and the window's loop around the wait.
#include "host/host_thread_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <functional>

#include "common/failure.h"

namespace rapporta::test {
namespace {

using host::HostThread;
using Work = HostThread::Work;

// How a call ended: "ok", or the failure's code.
std::int32_t Outcome(HostThread& thread, Work work, DWORD bound = 200,
                     std::function<void()> late = {}) {
  try {
    thread.Run("call", std::move(work), {bound, true}, std::move(late));
    return 0;
  } catch (const Failure& failure) {
    return failure.Code();
  }
}

Work Sleeps(DWORD ms, std::atomic<int>* runs = nullptr) {
  return [ms, runs](auto&) {
    Sleep(ms);
    if (runs) ++*runs;
  };
}

// One thread through all: what a call leaves behind is the next one's to meet.
// A call that fails in time passes its failure on and leaves nothing behind:
// the host link's test, whose refused calls follow one another.
TEST(HostThread, EachCallGetsItsOwnAnswerAndAGivenUpCallKeepsOthersOutUntilItEnds) {
  HostThread thread;
  std::atomic<int> runs{0}, late{0};
  const auto countLate = [&] { ++late; };
  // Answered just past its bound: given up, the next call refused as busy
  // (not "no answer"), its late work once.
  EXPECT_EQ(Outcome(thread, Sleeps(300, &runs), 200, countLate), kNoAnswer);
  EXPECT_EQ(Outcome(thread, Sleeps(0, &runs)), kStillBusy);
  Sleep(300);
  EXPECT_EQ(runs, 1) << "the refused call never ran";
  EXPECT_EQ(late, 1);
  // A given-up call that fails has no late work, nor has a call answered in
  // time.
  EXPECT_EQ(Outcome(thread, [](auto&) {
              Sleep(300);
              throw Failure("SendChat", 0x80004005);
            }, 200, countLate), kNoAnswer);
  Sleep(300);
  EXPECT_EQ(Outcome(thread, Sleeps(0, &runs), 200, countLate), 0);
  EXPECT_EQ(late, 1);
  // Back-to-back calls each get their own answer, never the one before.
  for (int i = 0; i < 300; ++i) {
    int value = -1;
    ASSERT_EQ(Outcome(thread, [&value, i](auto&) { value = i; }), 0);
    ASSERT_EQ(value, i);
  }
}

TEST(HostThread, AQuitDuringAWaitIsKeptForTheLoopOutsideWithoutSpinning) {
  HostThread thread;
  PostQuitMessage(7);
  // This thread's time in kernel and user mode, in ms.
  const auto busy = [] {
    FILETIME unused, kernel, user;
    GetThreadTimes(GetCurrentThread(), &unused, &unused, &kernel, &user);
    return (std::bit_cast<ULONG64>(kernel) + std::bit_cast<ULONG64>(user)) / 10000;
  };
  const auto before = busy();
  EXPECT_EQ(Outcome(thread, Sleeps(500), 2000), 0);
  EXPECT_LT(busy() - before, 150u) << "ms of this thread's time over a 500 ms wait";
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace rapporta::test
