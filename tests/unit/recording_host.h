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

inline std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

class RecordingHost : public host::Host {
 public:
  explicit RecordingHost(Steps& steps) : steps_(steps) {}
  Text callsign = u"N0CALL";
  std::function<void()> duringSend;
  bool failSend = false;
  bool failCallsign = false;

  Text LocalCallsign() override {
    steps_.push_back("callsign");
    if (failCallsign) throw Failure("Callsign", -2147023174);
    return callsign;
  }
  void SendChat(TextView text) override {
    steps_.push_back("send " + Narrow(text));
    if (failSend) throw Failure("SendChat", -2147023174);
    if (duringSend) duringSend();
  }

 private:
  Steps& steps_;
};

}  // namespace rapporta::test
