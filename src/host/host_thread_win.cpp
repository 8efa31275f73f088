#include "host/host_thread_win.h"

#include <objbase.h>

#include <condition_variable>
#include <cwchar>
#include <exception>
#include <mutex>
#include <thread>

#include "common/check_win.h"
#include "host/host.h"
#include "common/unique_win.h"

namespace rapporta::host {

struct HostThread::State {
  std::mutex mutex;
  std::condition_variable wake;
  std::function<void()> job;  // the next call; empty: none
  bool busy = false;          // a call is handed over or running
  bool quit = false;
  std::atomic<const char*> operation{""};
  UniqueHandle done{CheckWin(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent")};
  UniqueHandle ended{CheckWin(CreateEventW(nullptr, TRUE, FALSE, nullptr), "CreateEvent")};
  std::thread thread;
};

DWORD MillisecondsFromEnvironment(const wchar_t* name) {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 16);
  return length > 0 && length < 16 ? static_cast<DWORD>(std::wcstoul(value, nullptr, 10)) : 0;
}

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
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->busy) {
      state_->thread.detach();
      return;
    }
    state_->quit = true;
  }
  state_->wake.notify_one();
  // An event on its way to this thread must not hold the host thread up.
  const std::atomic<bool> never{false};
  if (WaitForCall(state_->ended.Get(), {HostBounds{}.release, 0, false}, never) ==
      CallWait::Answered) {
    state_->thread.join();
  } else {
    state_->thread.detach();
  }
}

void HostThread::Run(const char* operation, Work work, const WaitRules& rules) {
  auto error = std::make_shared<std::exception_ptr>();
  {
    const std::lock_guard lock(state_->mutex);
    if (state_->busy) throw Failure(operation, kNoAnswer);
    if (rules.interruptible && stop_) throw Failure(operation, kGivenUp);
    state_->busy = true;
    state_->operation = operation;
    ResetEvent(state_->done.Get());
    // Everything the call needs is held by value: a call given up outlives
    // its caller.
    state_->job = [work = std::move(work), error, state = state_] {
      try {
        work(state->operation);
      } catch (...) {
        *error = std::current_exception();
      }
    };
  }
  state_->wake.notify_one();
  switch (WaitForCall(state_->done.Get(), rules, stop_)) {
    case CallWait::Answered:
      if (*error) std::rethrow_exception(*error);
      return;
    case CallWait::TimedOut:
      throw Failure(state_->operation.load(), kNoAnswer);
    case CallWait::GivenUp:
      throw Failure(state_->operation.load(), kGivenUp);
  }
}

void HostThread::Serve(const std::shared_ptr<State>& state) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(state->mutex);
      state->wake.wait(lock, [&] { return state->quit || state->job; });
      if (!state->job) break;
      job = std::move(state->job);
      state->job = nullptr;
    }
    job();
    job = nullptr;  // what the call held goes here, in this apartment
    {
      const std::lock_guard lock(state->mutex);
      state->busy = false;
    }
    SetEvent(state->done.Get());
  }
  if (SUCCEEDED(com)) CoUninitialize();
  SetEvent(state->ended.Get());
}

}  // namespace rapporta::host
