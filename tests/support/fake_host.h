#pragma once
// An in-process host for tests of the window: records what the window asks
// of it and lets the test raise the host's events, fail a call, or act from
// inside SendChat.
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "host/host.h"

namespace rapporta::test {

struct FakeHostState {
  Text callsign = u"N0CALL";
  std::vector<Text> sent;
  int created = 0;
  bool giveNoObject = false;             // creation gives no object
  std::optional<Failure> failCreate;     // creation fails
  std::optional<Failure> failNextCall;   // the next SendChat or call-sign read fails
  std::function<void()> duringCreate;    // runs inside creation, events bound
  std::function<void()> duringSend;      // runs inside SendChat, after it was recorded
  host::HostEvents* events = nullptr;    // bound while the host object lives
};

class FakeHost final : public host::Host {
 public:
  explicit FakeHost(std::shared_ptr<FakeHostState> state) : state_(std::move(state)) {}
  ~FakeHost() override { state_->events = nullptr; }
  Text LocalCallsign() override {
    if (state_->failNextCall) throw *std::exchange(state_->failNextCall, std::nullopt);
    return state_->callsign;
  }
  void SendChat(TextView text) override {
    if (state_->failNextCall) throw *std::exchange(state_->failNextCall, std::nullopt);
    state_->sent.emplace_back(text);
    if (state_->duringSend) state_->duringSend();
  }

 private:
  std::shared_ptr<FakeHostState> state_;
};

inline host::HostFactory FakeHostFactory(std::shared_ptr<FakeHostState> state) {
  return [state](host::HostEvents& events) -> std::unique_ptr<host::Host> {
    ++state->created;
    if (state->failCreate) throw *state->failCreate;
    if (state->giveNoObject) return nullptr;
    auto host = std::make_unique<FakeHost>(state);
    state->events = &events;
    if (state->duringCreate) state->duringCreate();
    return host;
  };
}

}  // namespace rapporta::test
