#include "standin/host_objects_win.h"

#include <olectl.h>

#include <string>

#include "common/bstr_win.h"

namespace rapporta::standin {
namespace {

using Microsoft::WRL::ComPtr;

// An out-parameter's value, as every automation method gives it.
HRESULT CopyOut(long value, long* out) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT CopyOut(TextView text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] { *out = Bstr(text).Release(); });
}

}  // namespace

// HostApp

HostAppObject::HostAppObject(StandinHost& host)
    : Automation(host.Types().hostApp), host_(host) {
  host_.sharedApp = static_cast<IHostApp*>(this);
  host_.Events().SetContainer(this);
}

HostAppObject::~HostAppObject() {
  host_.Events().SetContainer(nullptr);
  host_.sharedApp = nullptr;
}

STDMETHODIMP HostAppObject::get_LocalStation(IHostStation** station) {
  if (!station) return E_POINTER;
  *station = nullptr;
  return Guarded([&] {
    const HRESULT hr = host_.BeginCall(StandinHost::Operation::LocalStation);
    if (FAILED(hr)) return hr;
    return MakeComObject<StationObject>(host_).CopyTo(station);
  });
}

STDMETHODIMP HostAppObject::SendChat(BSTR text) {
  return Guarded([&] {
    const HRESULT hr = host_.BeginCall(StandinHost::Operation::SendChat);
    if (FAILED(hr)) return hr;
    host_.Send(Bstr::ToText(text));
    return S_OK;
  });
}

STDMETHODIMP HostAppObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostAppObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != __uuidof(IHostAppEvents)) return CONNECT_E_NOCONNECTION;
  return ComPtr<IConnectionPoint>(&host_.Events()).CopyTo(point);
}

// HostStation

StationObject::StationObject(StandinHost& host)
    : Automation(host.Types().hostStation), host_(host) {
  ++host_.stationsAlive;
}

StationObject::~StationObject() { --host_.stationsAlive; }

STDMETHODIMP StationObject::get_Callsign(BSTR* callsign) {
  if (!callsign) return E_POINTER;
  *callsign = nullptr;
  const HRESULT hr = host_.BeginCall(StandinHost::Operation::Callsign);
  return FAILED(hr) ? hr : CopyOut(host_.Callsign(), callsign);
}

// Control

ControlObject::ControlObject(StandinHost& host)
    : Automation(host.Types().control), host_(host) {}

STDMETHODIMP ControlObject::InjectText(BSTR text) {
  return Guarded([&] { host_.Receive(Bstr::ToText(text)); });
}

STDMETHODIMP ControlObject::RaiseClosing() {
  return Guarded([&] { host_.Events().RaiseClosing(); });
}

STDMETHODIMP ControlObject::CloseHost() {
  return Guarded([&] { host_.CloseHost(); });
}

STDMETHODIMP ControlObject::Vanish() {
  return Guarded([&] { host_.Vanish(); });
}

STDMETHODIMP ControlObject::put_Callsign(BSTR callsign) {
  return Guarded([&] { host_.SetCallsign(Bstr::ToText(callsign)); });
}

STDMETHODIMP ControlObject::get_SentCount(long* count) {
  return CopyOut(static_cast<long>(host_.Sent().size()), count);
}

STDMETHODIMP ControlObject::SentLine(long index, BSTR* text) {
  if (index < 0 || static_cast<std::size_t>(index) >= host_.Sent().size()) {
    if (text) *text = nullptr;
    return E_INVALIDARG;
  }
  return CopyOut(host_.Sent()[static_cast<std::size_t>(index)], text);
}

STDMETHODIMP ControlObject::FailNextCall(long result) {
  host_.FailNextCall(static_cast<HRESULT>(result));
  return S_OK;
}

STDMETHODIMP ControlObject::RaiseInNextSend(BSTR text) {
  return Guarded([&] { host_.RaiseInNextSend(Bstr::ToText(text)); });
}

STDMETHODIMP ControlObject::put_EventsByTable(VARIANT_BOOL byTable) {
  host_.Events().SetEventsByTable(byTable != VARIANT_FALSE);
  return S_OK;
}

STDMETHODIMP ControlObject::get_StationsAlive(long* count) {
  return CopyOut(host_.stationsAlive, count);
}

STDMETHODIMP ControlObject::get_SinkCount(long* count) {
  return CopyOut(host_.Events().SinkCount(), count);
}

STDMETHODIMP ControlObject::get_HostAppsAlive(long* count) {
  return CopyOut(host_.sharedApp ? 1 : 0, count);
}

STDMETHODIMP ControlObject::get_ProcessId(long* id) {
  return CopyOut(static_cast<long>(GetCurrentProcessId()), id);
}

STDMETHODIMP ControlObject::InjectNumbered(BSTR prefix, long count) {
  if (count < 0) return E_INVALIDARG;
  return Guarded([&] {
    const Text start = Bstr::ToText(prefix);
    for (long i = 0; i < count; ++i) host_.Receive(start + FromWide(std::to_wstring(i)));
  });
}

STDMETHODIMP ControlObject::RaiseClosingInNextCall() {
  host_.RaiseClosingInNextCall();
  return S_OK;
}

STDMETHODIMP ControlObject::DelayOperation(BSTR operation, long milliseconds) {
  const auto named = StandinHost::OperationNamed(Bstr::ToText(operation));
  if (!named || milliseconds < 0) return E_INVALIDARG;
  host_.DelayOperation(*named, static_cast<DWORD>(milliseconds));
  return S_OK;
}

// Class factories

HRESULT HostAppObject::Create(StandinHost& host, REFIID iid, void** object) {
  // Inside CreateInstance, after the class was registered: where a host that
  // hangs while it starts keeps its client waiting.
  const HRESULT hr = host.BeginCall(StandinHost::Operation::Create);
  if (FAILED(hr)) return hr;
  if (host.sharedApp) return host.sharedApp->QueryInterface(iid, object);
  return MakeComObject<HostAppObject>(host)->QueryInterface(iid, object);
}

// cppcheck-suppress constParameter ; the object it makes changes the host
HRESULT ControlObject::Create(StandinHost& host, REFIID iid, void** object) {
  return MakeComObject<ControlObject>(host)->QueryInterface(iid, object);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return Guarded([&] { return create_(iid, object); });
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    CoAddRefServerProcess();
  } else if (CoReleaseServerProcess() == 0) {
    PostQuitMessage(0);
  }
  return S_OK;
}

}  // namespace rapporta::standin
