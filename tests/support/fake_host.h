#pragma once
// An in-process host for tests of the window: records what the window asks
// of it and lets the test raise the host's events, fail a send, or act from
// inside its creation. Each SendChat runs on the real host thread, with the
// window waiting as it does for the real host.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "host/host.h"
#include "host/host_thread_win.h"

namespace rapporta::test {

struct FakeHostState {
  DWORD sendMs = 0;  // how long each SendChat takes
  std::mutex mutex;  // over sent, written on the host thread
  std::vector<Text> sent;
  std::vector<Text> Sent() {
    const std::lock_guard lock(mutex);
    return sent;
  }
  int created = 0;
  bool giveNoObject = false;             // creation gives no object
  std::optional<Failure> failNextSend;   // the next SendChat fails
  std::function<void()> duringCreate;    // runs inside creation, events bound; may throw
  host::HostEvents* events = nullptr;    // bound while the host object lives
};

class FakeHost final : public host::Host {
 public:
  explicit FakeHost(std::shared_ptr<FakeHostState> state) : state_(std::move(state)) {}
  ~FakeHost() override { state_->events = nullptr; }
  Text LocalCallsign() override { return u"N0CALL"; }
  void SendChat(TextView text) override {
    thread_.Run(
        "SendChat",
        [state = state_, line = Text(text)](auto&) {
          Sleep(state->sendMs);
          if (state->failNextSend) throw *std::exchange(state->failNextSend, std::nullopt);
          const std::lock_guard lock(state->mutex);
          state->sent.push_back(line);
        },
        {10000, true});
  }
  void StopWaiting() override { thread_.Stop(); }

 private:
  std::shared_ptr<FakeHostState> state_;
  host::HostThread thread_;
};

inline host::HostFactory FakeHostFactory(std::shared_ptr<FakeHostState> state) {
  return [state](host::HostEvents& events) -> std::unique_ptr<host::Host> {
    ++state->created;
    if (state->giveNoObject) return nullptr;
    auto host = std::make_unique<FakeHost>(state);
    state->events = &events;
    if (state->duringCreate) state->duringCreate();
    return host;
  };
}

}  // namespace rapporta::test
