#include "connection/host_events.h"

namespace rapporta::connection {

void Echo_ChatTextReceived(HostEventWindow& window, TextView sText) {
  const Text copy(sText);
  window.SetChatText(copy);
}

void Echo_Closing(HostEventWindow& window) { window.CloseFromHost(); }

void Form_Unload(HostEventWindow& window) { window.ReleaseHost(); }

}  // namespace rapporta::connection
