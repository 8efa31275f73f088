#pragma once
// Form_Load as an order of steps, apart from the window system that carries
// them out.
#include "common/text.h"
#include "host/host.h"

namespace rapporta::connection {

inline constexpr TextView kAlreadyRunningText = u"既に起動しています";
inline constexpr TextView kAlreadyRunningTitle = u"Rapporta";
inline constexpr TextView kLaunchFailedText = u"Launch EchoLink Faild!!";
inline constexpr TextView kLaunchFailedTitle = u"missing!!";

// What start-up needs of the window.
class StartupWindow {
 public:
  virtual ~StartupWindow() = default;
  virtual bool AnotherInstanceRunning() = 0;
  // A box with an OK button and no icon; returns once it is dismissed.
  virtual void ShowMessage(TextView text, TextView title) = 0;
  // Creates the host object into Echo and returns it; null when creation
  // gave no object.
  virtual host::Host* ConnectHost() = 0;
  // Whether the host announced its closing while start-up was running.
  virtual bool CloseRequested() const = 0;
  virtual void SetCaption(TextView caption) = 0;
  // Kept for echoing a sent line when a later call-sign read fails.
  virtual void SetStartupCallsign(TextView callsign) = 0;
  virtual void SetShowTime(bool on) = 0;
};

enum class StartupOutcome {
  AlreadyRunning,  // told the user; the window must go without being shown
  Unconnected,     // told the user; the window opens without a host
  Connected,
  Closed,          // the host closed while connecting; the window must go
};

// Single instance, host, caption, time prefix, in that order. Failures of the
// window or the host propagate as Failure.
StartupOutcome Form_Load(StartupWindow& window);

}  // namespace rapporta::connection
