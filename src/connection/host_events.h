#pragma once
// The host's two events and the unloading of the window, as orders of steps
// apart from the window system that carries them out.
#include "common/text.h"

namespace rapporta::connection {

// What the events and unloading need of the window.
class HostEventWindow {
 public:
  virtual ~HostEventWindow() = default;
  virtual void SetChatText(TextView text) = 0;
  // Closes the window as the user would, once the call that asked has
  // returned: releasing the host inside its own event call is not safe.
  virtual void CloseFromHost() = 0;
  // Sets Echo to nothing, which also detaches the window from the events.
  virtual void ReleaseHost() = 0;
};

// The received text goes to the log as it is, copied first: the host's
// string lives only as long as its call.
void Echo_ChatTextReceived(HostEventWindow& window, TextView sText);

// The host is shutting down: the window unloads as if the user closed it.
void Echo_Closing(HostEventWindow& window);

// Runs as the window goes, whoever closed it: the host is released, and
// neither asked to close nor told anything else.
void Form_Unload(HostEventWindow& window);

}  // namespace rapporta::connection
