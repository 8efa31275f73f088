#include "chat/paced_log_win.h"

#include "common/check_win.h"

namespace rapporta::chat {
namespace {

// The shortest time between two updates of the box (ms).
constexpr ULONGLONG kFlushInterval = 40;
// Characters brought into the box per turn: a huge entry goes in over a few
// turns, so the window keeps answering meanwhile.
constexpr std::size_t kFlushBudget = 5000;

}  // namespace

void PacedLog::Add(Text entry) {
  log_.Add(std::move(entry));
  Schedule();
}

void PacedLog::Flush() {
  flushPosted_ = false;
  if (timerSet_) {
    KillTimer(window_, timerId_);
    timerSet_ = false;
  }
  if (!log_.HasPending()) return;
  log_.Flush(kFlushBudget);
  if (log_.HasPending()) {
    // The rest of a long text goes on at the next turn, without waiting.
    lastFlush_ = 0;
    Post();
  } else {
    lastFlush_ = GetTickCount64();
  }
}

void PacedLog::Schedule() {
  if (flushPosted_) return;
  const ULONGLONG since = GetTickCount64() - lastFlush_;
  if (since >= kFlushInterval) {
    // Due: on the next turn. A stream of events that never lets the queue
    // go quiet (when a timer would come) still updates the box this way.
    Post();
  } else if (!timerSet_) {
    CheckWin(SetTimer(window_, timerId_, static_cast<UINT>(kFlushInterval - since), nullptr),
             "SetTimer");
    timerSet_ = true;
  }
}

void PacedLog::Post() {
  if (flushPosted_) return;
  CheckWin(PostMessageW(window_, flushMessage_, 0, 0), "PostMessage");
  flushPosted_ = true;
}

}  // namespace rapporta::chat
