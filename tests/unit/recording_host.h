#pragma once
// A host for the order-of-steps tests: every call it gets is written down,
// in order, as readable words, beside the window's own steps.
#include <functional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "host/host.h"

namespace rapporta::test {

using Steps = std::vector<std::string>;

// Enough to compare: keeps the low byte of each unit.
inline std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

// Fails a host call as a host that stopped answering would.
inline void Fail() { throw Failure("host call", host::kNoAnswer); }

class RecordingHost : public host::Host {
 public:
  explicit RecordingHost(Steps& steps) : steps_(steps) {}
  Text callsign = u"N0CALL";
  // Run inside their call, once it is written down; Fail fails it.
  std::function<void()> inSend = [] {};
  std::function<void()> inCallsign = [] {};

  Text LocalCallsign() override {
    steps_.push_back("callsign");
    inCallsign();
    return callsign;
  }
  void SendChat(TextView text) override {
    steps_.push_back("send " + Narrow(text));
    inSend();
  }

 private:
  Steps& steps_;
};

}  // namespace rapporta::test
