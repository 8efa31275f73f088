#include "host/host_thread_win.h"

#include <objbase.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "common/check_win.h"
#include "common/environment_win.h"
#include "common/unique_win.h"

namespace rapporta::host {

struct HostThread::Call {
  Call(const char* name, std::function<void()> body, std::function<void()> lateWork)
      : operation(name), work(std::move(body)), late(std::move(lateWork)) {}
  std::atomic<const char*> operation;
  std::function<void()> work;
  std::function<void()> late;
  std::exception_ptr error;
  UniqueHandle done{CheckWin(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent")};
  bool finished = false;  // these two under State::mutex
  bool givenUp = false;
};

struct HostThread::State {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::shared_ptr<Call>> jobs;
  std::shared_ptr<Call> out;  // the call handed over and not yet ended
  bool quit = false;          // once jobs is empty
  UniqueHandle ended{CheckWin(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent")};
  std::thread thread;
};

HostBounds BoundsFromEnvironment() {
  HostBounds bounds;
  if (const DWORD bound = MillisecondsFromEnvironment(L"RAPPORTA_HOST_BOUND_MS")) {
    bounds.call = bounds.create = bound;
  }
  return bounds;
}

HostThread::HostThread() : state_(std::make_shared<State>()) {
  // The thread holds its own share of the state: it may outlive this object.
  state_->thread = std::thread(&HostThread::Serve, state_);
}

HostThread::~HostThread() {
  if (!finished_) Finish({}, HostBounds{}.release);
}

void HostThread::Run(const char* operation, Work work, const WaitRules& rules,
                     std::function<void()> late) {
  // Everything is made before anything is shared: a failure here leaves no
  // trace. The call holds its work by value: a call given up outlives its
  // caller.
  auto call = std::make_shared<Call>(operation, nullptr, std::move(late));
  call->work = [work = std::move(work), raw = call.get()] { work(raw->operation); };
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->out) throw Failure(operation, kStillBusy);
    if (rules.interruptible && stop_) throw Failure(operation, kGivenUp);
    state_->jobs.push_back(call);
    state_->out = call;
  }
  state_->wake.notify_one();
  const CallWait waited = WaitForCall(call->done.Get(), rules, stop_);
  {
    const std::lock_guard lock(state_->mutex);
    if (!call->finished) {
      call->givenUp = true;
      throw Failure(call->operation.load(), waited == CallWait::GivenUp ? kGivenUp : kNoAnswer);
    }
  }
  if (call->error) std::rethrow_exception(call->error);
}

void HostThread::Finish(std::function<void()> last, DWORD bound) noexcept {
  finished_ = true;
  try {
    const std::lock_guard lock(state_->mutex);
    if (last) state_->jobs.push_back(std::make_shared<Call>("", std::move(last), nullptr));
    state_->quit = true;
  } catch (...) {
    // Without memory for the last job the thread still ends.
    const std::lock_guard lock(state_->mutex);
    state_->quit = true;
  }
  state_->wake.notify_one();
  // A plain bounded wait: the window is going, and the host's events are
  // posted, so nothing on the host's side waits for this thread.
  const std::atomic<bool> never{false};
  if (WaitForCall(state_->ended.Get(), {bound, false}, never) == CallWait::Answered) {
    state_->thread.join();
  } else {
    state_->thread.detach();
  }
}

void HostThread::Serve(const std::shared_ptr<State>& state) {
  // The apartment is never uninitialized: that waits, without a bound, for
  // the host's calls into the event sink still unwinding, and the host may
  // be closing right then. It goes with the process.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    std::shared_ptr<Call> call;
    {
      std::unique_lock lock(state->mutex);
      state->wake.wait(lock, [&] { return state->quit || !state->jobs.empty(); });
      if (state->jobs.empty()) break;
      call = std::move(state->jobs.front());
      state->jobs.pop_front();
    }
    try {
      call->work();
    } catch (...) {
      call->error = std::current_exception();
    }
    call->work = nullptr;  // what the call held goes here, in this apartment
    bool late = false;
    {
      const std::lock_guard lock(state->mutex);
      call->finished = true;
      late = call->givenUp && !call->error && call->late;
      if (state->out == call) state->out.reset();
    }
    SetEvent(call->done.Get());
    if (late) {
      try {
        call->late();
      } catch (...) {
        // Nobody waits for it any more.
      }
    }
    call->late = nullptr;
  }
  SetEvent(state->ended.Get());
}

}  // namespace rapporta::host
