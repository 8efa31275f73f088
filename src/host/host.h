#pragma once
// What the program needs of the host (EchoLink's automation server), apart
// from how it is reached. The COM client implements Host; the window's tests
// put an in-process fake in its place.
#include <cstdint>
#include <functional>
#include <memory>

#include "common/text.h"

namespace rapporta::host {

// The host's two events, as the window handles them. Delivered on the
// window's thread, also while the window waits inside a call to the host.
class HostEvents {
 public:
  virtual ~HostEvents() = default;
  virtual void ChatTextReceived(TextView text) = 0;
  virtual void Closing() = 0;
};

// The code of a Failure for a call the host did not answer within its bound
// (RPC_E_TIMEOUT): the call is given up and reported as such.
inline constexpr std::int32_t kNoAnswer = static_cast<std::int32_t>(0x8001011F);
// The code of a Failure for a call given up because the window is closing
// (E_ABORT): nothing is left to report it to.
inline constexpr std::int32_t kGivenUp = static_cast<std::int32_t>(0x80004004);

// The window's one reference to the host's HostApp object. Every call throws
// Failure when the host reports failure. Destroying it releases the object and
// detaches the events.
class Host {
 public:
  virtual ~Host() = default;
  // LocalStation, then its Callsign; the station is released right after.
  virtual Text LocalCallsign() = 0;
  virtual void SendChat(TextView text) = 0;
  // The window is closing: a call still out is given up at once (kGivenUp),
  // and so is every later one.
  virtual void StopWaiting() {}
};

// Creates the host object bound to the events; starts the host when it is not
// running. Empty when creation gave no object; throws Failure when it failed.
using HostFactory = std::function<std::unique_ptr<Host>(HostEvents&)>;

}  // namespace rapporta::host
