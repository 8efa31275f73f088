#pragma once
// The stand-in's COM objects: the one shared HostApp, the HostStation objects
// it hands out, the control object tests steer it with, and their class
// factories.
#include <windows.h>

#include <functional>

#include "host/echolink_host_win.h"
#include "standin/automation_win.h"
#include "standin/standin_host_win.h"
#include "standin_control.h"  // generated

// The slots of IHostApp that hold neither LocalStation (31) nor SendChat (40).
#define RAPPORTA_HOST_RESERVED_SLOTS(X)                                                    \
  X(07) X(08) X(09) X(10) X(11) X(12) X(13) X(14) X(15) X(16) X(17) X(18) X(19) X(20) X(21) \
  X(22) X(23) X(24) X(25) X(26) X(27) X(28) X(29) X(30) X(32) X(33) X(34) X(35) X(36) X(37) \
  X(38) X(39)

namespace rapporta::standin {

class HostAppObject final : public Automation<IHostApp, IConnectionPointContainer> {
 public:
  explicit HostAppObject(StandinHost& host);
  ~HostAppObject() override;
  // HostApp's class: every client gets the one shared object.
  static HRESULT Create(StandinHost& host, REFIID iid, void** object);

  STDMETHODIMP get_LocalStation(IHostStation** station) override;
  STDMETHODIMP SendChat(BSTR text) override;

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // The rest of the host's table, which this program never calls.
#define RAPPORTA_RESERVED(n) \
  STDMETHODIMP Reserved##n() override { return E_NOTIMPL; }
  RAPPORTA_HOST_RESERVED_SLOTS(RAPPORTA_RESERVED)
#undef RAPPORTA_RESERVED

 private:
  StandinHost& host_;
  ServerReference server_;
};

class StationObject final : public Automation<IHostStation> {
 public:
  explicit StationObject(StandinHost& host);
  ~StationObject() override;

  STDMETHODIMP get_Callsign(BSTR* callsign) override;

 private:
  StandinHost& host_;
  ServerReference server_;
};

class ControlObject final : public Automation<IStandinControl> {
 public:
  explicit ControlObject(StandinHost& host);
  static HRESULT Create(StandinHost& host, REFIID iid, void** object);

  STDMETHODIMP InjectText(BSTR text) override;
  STDMETHODIMP RaiseClosing() override;
  STDMETHODIMP CloseHost() override;
  STDMETHODIMP Vanish() override;
  STDMETHODIMP put_Callsign(BSTR callsign) override;
  STDMETHODIMP get_SentCount(long* count) override;
  STDMETHODIMP SentLine(long index, BSTR* text) override;
  STDMETHODIMP FailNextCall(long result) override;
  STDMETHODIMP RaiseInNextSend(BSTR text) override;
  STDMETHODIMP put_EventsByTable(VARIANT_BOOL byTable) override;
  STDMETHODIMP get_StationsAlive(long* count) override;
  STDMETHODIMP get_SinkCount(long* count) override;
  STDMETHODIMP get_HostAppsAlive(long* count) override;
  STDMETHODIMP get_ProcessId(long* id) override;
  STDMETHODIMP InjectNumbered(BSTR prefix, long count) override;
  STDMETHODIMP RaiseClosingInNextCall() override;
  STDMETHODIMP DelayOperation(BSTR operation, long milliseconds) override;

 private:
  StandinHost& host_;
  ServerReference server_;
};

// A class of the stand-in: create makes (or finds) the object.
class ClassFactory final : public ComObject<IClassFactory> {
 public:
  using Create = std::function<HRESULT(REFIID iid, void** object)>;
  explicit ClassFactory(Create create) : create_(std::move(create)) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  Create create_;
};

}  // namespace rapporta::standin
