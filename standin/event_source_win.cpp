#include "standin/event_source_win.h"

#include <vector>

#include "standin/automation_win.h"
#include <olectl.h>

#include "common/bstr_win.h"
#include "host/echolink_host_win.h"

namespace rapporta::standin {
namespace {

using Microsoft::WRL::ComPtr;

bool ClientGone(HRESULT hr) {
  return hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE ||
         hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
         hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
}

}  // namespace

template <typename ByTable>
void EventSource::Raise(DISPID member, VARIANT* args, UINT count, ByTable&& byTable) {
  // A sink may unadvise while it is called: walk a copy.
  std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks(sinks_.begin(), sinks_.end());
  for (auto& [cookie, sink] : sinks) {
    HRESULT hr = S_OK;
    if (byTable_) {
      ComPtr<IHostAppEvents> events;
      hr = sink->QueryInterface(IID_PPV_ARGS(&events));
      if (SUCCEEDED(hr)) hr = byTable(*events.Get());
    } else {
      ComPtr<IDispatch> dispatch;
      hr = sink->QueryInterface(IID_PPV_ARGS(&dispatch));
      DISPPARAMS params{args, nullptr, count, 0};
      if (SUCCEEDED(hr)) {
        hr = dispatch->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                              nullptr, nullptr, nullptr);
      }
    }
    if (ClientGone(hr)) sinks_.erase(cookie);
  }
}

void EventSource::RaiseChatTextReceived(TextView text) {
  Bstr value(text);
  VARIANT argument = LentString(value);
  Raise(chatTextReceived_, &argument, 1,
        [&](IHostAppEvents& events) { return events.ChatTextReceived(value.Get()); });
}

void EventSource::RaiseClosing() {
  Raise(closing_, nullptr, 0, [](IHostAppEvents& events) { return events.Closing(); });
}

STDMETHODIMP EventSource::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = __uuidof(IHostAppEvents);
  return S_OK;
}

STDMETHODIMP EventSource::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = nullptr;
  if (!container_) return E_UNEXPECTED;
  return ComPtr<IConnectionPointContainer>(container_).CopyTo(container);
}

STDMETHODIMP EventSource::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  return Guarded([&] {
    // The sink must speak the event interface, by table or by Invoke.
    ComPtr<IUnknown> events;
    if (FAILED(sink->QueryInterface(__uuidof(IHostAppEvents), &events)) &&
        FAILED(sink->QueryInterface(__uuidof(IDispatch), &events))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    sinks_.emplace(*cookie, sink);
    return S_OK;
  });
}

STDMETHODIMP EventSource::Unadvise(DWORD cookie) {
  return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP EventSource::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace rapporta::standin
