// The host link: the COM client of the host's HostApp class.
//
// A host can hang: its network work runs on its window's thread, and while it
// works it answers no call. A call made from the window's own single-threaded
// apartment then traps the user: under Wine, COM's wait for the answer
// dispatches sent and paint messages but holds every key, click and posted
// message (a close included) until the host answers; a message filter's
// PENDINGMSG_CANCELCALL does not end that wait (the call still returns only
// when the host answers, then as cancelled), Wine 8 has no CoCancelCall at
// all (calling it ends the process), and even the final release of a proxy
// to a hung host is a call that waits.
// No filter or watchdog on the window's thread can get the user out of that.
//
// So the window's thread never holds a proxy to the host. Every call (create,
// Advise, LocalStation and Callsign, SendChat, Unadvise and the releases) is
// made on one thread of the multithreaded apartment (host_thread_win.h); the
// window's thread waits for it with a loop of its own (call_wait_win.h) that
// runs the window as usual meanwhile; past a bound (10 s, creation 30 s) the
// call is given up and reported as a failure that says the host did not
// answer, and until the host answers it every new call is refused as "still
// busy". A send given up that the host then carries out is echoed when it
// ends. A hung host is never released or unadvised: the process ends without
// touching its proxies. The event sink lives in the multithreaded apartment
// too and queues each event for the window's thread (event_relay_win.h), so
// the host's call returns at once and events are handled on the window's
// thread, in the order the host raises them, also while a send is out.
#include "host/host_app_win.h"

#include <optional>

#include "common/check_win.h"
#include "host/advise_win.h"
#include "common/bstr_win.h"
#include "host/event_ids_win.h"
#include "host/event_relay_win.h"
#include "host/event_sink_win.h"
#include "host/host_thread_win.h"

namespace rapporta::host {
namespace {

using Microsoft::WRL::ComPtr;
using Operation = std::atomic<const char*>;

// What the host thread holds of the host; only that thread touches it.
struct HostObjects {
  ComPtr<IHostApp> app;
  ComPtr<EventSink> sink;
  std::optional<AdviseToken> advise;
};

class HostAppClient final : public Host {
 public:
  HostAppClient(HostEvents& events, const HostBounds& bounds)
      : bounds_(bounds), relay_(std::make_shared<EventRelay>(events)) {}
  HostAppClient(const HostAppClient&) = delete;
  HostAppClient& operator=(const HostAppClient&) = delete;
  ~HostAppClient() override {
    relay_->Close();
    // The last references to the host go on its thread, after any call still
    // out; a host that does not let go in time is left as it is.
    thread_.Finish(
        [remote = std::move(remote_)] {
          remote->advise.reset();
          remote->sink.Reset();
          remote->app.Reset();
        },
        bounds_.release);
  }

  // Creates the object and binds the events; false when creation gave no
  // object.
  bool Connect() {
    thread_.Run(
        "CoCreateInstance(HostApp)",
        [remote = remote_, relay = relay_](Operation& operation) {
          // A local server: creating it starts the host when it is not running.
          CheckHr(CoCreateInstance(__uuidof(HostApp), nullptr, CLSCTX_LOCAL_SERVER,
                                   IID_PPV_ARGS(&remote->app)),
                  "CoCreateInstance(HostApp)");
          if (!remote->app) return;
          operation = "HostApp.Advise";
          const EventIds ids = EventDispIds(*remote->app.Get());
          remote->sink =
              MakeComObject<EventSink>(*relay, ids.chatTextReceived, ids.closing, relay);
          remote->advise.emplace(*remote->app.Get(), __uuidof(IHostAppEvents),
                                 *remote->sink.Get());
        },
        Rules(bounds_.create));
    return remote_->app != nullptr;
  }

  Text LocalCallsign() override {
    auto callsign = std::make_shared<Text>();
    thread_.Run(
        "HostApp.LocalStation",
        [remote = remote_, callsign](Operation& operation) {
          *callsign = ReadCallsign(*remote, operation);
        },
        Rules(bounds_.call));
    return *callsign;
  }

  void SendChat(TextView text) override {
    auto line = std::make_shared<const Text>(text);
    thread_.Run(
        "HostApp.SendChat",
        [remote = remote_, line](Operation&) {
          Bstr value(*line);
          CheckHr(remote->app->SendChat(value.Get()), "HostApp.SendChat");
        },
        Rules(bounds_.call),
        [remote = remote_, relay = relay_, line] {
          // The window was told this line did not go; the log shows it now.
          Text callsign;
          try {
            Operation operation{""};
            callsign = ReadCallsign(*remote, operation);
          } catch (...) {
            // The window puts the call sign of start-up in its place.
          }
          relay->SentLate(callsign, *line);
        });
  }

  void StopWaiting() override { thread_.Stop(); }

 private:
  static WaitRules Rules(DWORD bound) { return {bound, true}; }

  static Text ReadCallsign(HostObjects& remote, Operation& operation) {
    Bstr value;
    {
      ComPtr<IHostStation> station;
      CheckHr(remote.app->get_LocalStation(&station), "HostApp.LocalStation");
      if (!station) throw Failure("HostApp.LocalStation", E_POINTER);
      operation = "HostStation.Callsign";
      CheckHr(station->get_Callsign(value.Put()), "HostStation.Callsign");
    }  // no station reference outlives the reading of its call sign
    return value.ToText();
  }

  HostBounds bounds_;
  std::shared_ptr<EventRelay> relay_;
  std::shared_ptr<HostObjects> remote_ = std::make_shared<HostObjects>();
  HostThread thread_;  // first to go: no call runs once the rest goes
};

}  // namespace

std::unique_ptr<Host> CreateHostApp(HostEvents& events) {
  auto client = std::make_unique<HostAppClient>(events, BoundsFromEnvironment());
  if (!client->Connect()) return nullptr;
  return client;
}

}  // namespace rapporta::host
