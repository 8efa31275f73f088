// The host calls' machinery alone: each answer kept to its own call, a call
// given up at its bound, and the window's loop around the wait.
#include "host/host_thread_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <new>

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
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

Work Sleeps(DWORD ms, std::atomic<int>* runs = nullptr) {
  return [ms, runs](auto&) {
    Sleep(ms);
    if (runs) ++*runs;
  };
}

TEST(HostThread, EachCallGetsItsOwnAnswerAndAGivenUpCallKeepsOthersOutUntilItEnds) {
  {  // Answered just past its bound: given up, the next call refused as busy
     // (not "no answer"), its late work once, then calls go on.
    HostThread thread;
    std::atomic<int> runs{0};
    std::atomic<int> late{0};
    EXPECT_EQ(Outcome(thread, Sleeps(300, &runs), 200, [&] { ++late; }), kNoAnswer);
    EXPECT_EQ(Outcome(thread, Sleeps(0, &runs)), kStillBusy);
    Sleep(300);
    EXPECT_EQ(runs, 1) << "the refused call never ran";
    EXPECT_EQ(late, 1);
    EXPECT_EQ(Outcome(thread, Sleeps(0, &runs), 200, [&] { ++late; }), 0);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(late, 1) << "a call answered in time has no late work";
  }
  {  // A given-up call that fails has no late work either.
    HostThread thread;
    std::atomic<int> late{0};
    EXPECT_EQ(Outcome(thread, [](auto&) {
                Sleep(300);
                throw Failure("SendChat", 0x80004005);
              }, 200, [&] { ++late; }), kNoAnswer);
    Sleep(300);
    EXPECT_EQ(late, 0);
  }
  {  // Back-to-back calls each get their own answer, never the one before.
    HostThread thread;
    for (int i = 0; i < 300; ++i) {
      int value = -1;
      ASSERT_EQ(Outcome(thread, [&value, i](auto&) { value = i; }), 0);
      ASSERT_EQ(value, i);
    }
  }
  {  // A call whose work runs out of memory leaves nothing behind.
    HostThread thread;
    EXPECT_EQ(Outcome(thread, [](auto&) { throw std::bad_alloc(); }), -1);
    EXPECT_EQ(Outcome(thread, Sleeps(0)), 0);
  }
}

TEST(HostThread, AQuitDuringAWaitIsKeptForTheLoopOutsideWithoutSpinning) {
  HostThread thread;
  PostQuitMessage(7);
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto busy = [&] {
    return (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
            ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart) / 10000;
  };
  const auto before = busy();
  EXPECT_EQ(Outcome(thread, Sleeps(500), 2000), 0);
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  EXPECT_LT(busy() - before, 150u) << "ms of this thread's time over a 500 ms wait";
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace rapporta::test
