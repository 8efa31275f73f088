#include "host/host_app_win.h"

#include <optional>

#include "common/check_win.h"
#include "host/advise_win.h"
#include "common/bstr_win.h"
#include "host/event_ids_win.h"
#include "host/event_sink_win.h"

namespace rapporta::host {
namespace {

using Microsoft::WRL::ComPtr;

class HostAppClient final : public Host {
 public:
  HostAppClient(ComPtr<IHostApp> app, HostEvents& events) : app_(std::move(app)) {
    const EventIds ids = EventDispIds(*app_.Get());
    sink_ = MakeComObject<EventSink>(events, ids.chatTextReceived, ids.closing);
    advise_.emplace(*app_.Get(), __uuidof(IHostAppEvents), *sink_.Get());
  }
  HostAppClient(const HostAppClient&) = delete;
  HostAppClient& operator=(const HostAppClient&) = delete;
  ~HostAppClient() override {
    sink_->Detach();
    advise_.reset();
  }

  Text LocalCallsign() override {
    Bstr callsign;
    {
      ComPtr<IHostStation> station;
      CheckHr(app_->get_LocalStation(&station), "HostApp.LocalStation");
      if (!station) throw Failure("HostApp.LocalStation", E_POINTER);
      CheckHr(station->get_Callsign(callsign.Put()), "HostStation.Callsign");
    }  // no station reference outlives the reading of its call sign
    return callsign.ToText();
  }

  void SendChat(TextView text) override {
    Bstr value(text);
    CheckHr(app_->SendChat(value.Get()), "HostApp.SendChat");
  }

 private:
  ComPtr<IHostApp> app_;
  ComPtr<EventSink> sink_;
  std::optional<AdviseToken> advise_;
};

}  // namespace

std::unique_ptr<Host> CreateHostApp(HostEvents& events) {
  ComPtr<IHostApp> app;
  // A local server: creating it starts the host when it is not running.
  CheckHr(CoCreateInstance(__uuidof(HostApp), nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)),
          "CoCreateInstance(HostApp)");
  if (!app) return nullptr;
  return std::make_unique<HostAppClient>(std::move(app), events);
}

}  // namespace rapporta::host
