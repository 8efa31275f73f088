#include "connection/startup.h"

#include "connection/caption.h"

namespace rapporta::connection {

StartupOutcome Form_Load(StartupWindow& window) {
  if (window.AnotherInstanceRunning()) {
    window.ShowMessage(kAlreadyRunningText, kAlreadyRunningTitle);
    return StartupOutcome::AlreadyRunning;
  }
  host::Host* echo = window.ConnectHost();
  if (window.CloseRequested()) return StartupOutcome::Closed;
  if (echo == nullptr) {
    window.ShowMessage(kLaunchFailedText, kLaunchFailedTitle);
    return StartupOutcome::Unconnected;
  }
  const Text callsign = echo->LocalCallsign();
  window.SetCaption(Caption(callsign));
  window.SetStartupCallsign(callsign);
  // A host closing while its call sign was read leaves nothing to show.
  if (window.CloseRequested()) return StartupOutcome::Closed;
  window.SetShowTime(true);
  return StartupOutcome::Connected;
}

}  // namespace rapporta::connection
