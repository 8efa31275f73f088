#pragma once
// What the program needs of the host (EchoLink's automation server), apart
// from how it is reached. The COM client implements Host; the window's tests
// put an in-process fake in its place.
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
  // Not the host's own: a send the window gave up on at its bound was carried
  // out after all. callsign was read right after it (empty if that failed).
  virtual void SentLate(TextView callsign, TextView line) = 0;
};

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
