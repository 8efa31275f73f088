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
  STDMETHODIMP Reserved07() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved08() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved09() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved10() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved11() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved12() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved13() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved14() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved15() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved16() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved17() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved18() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved19() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved20() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved21() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved22() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved23() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved24() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved25() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved26() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved27() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved28() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved29() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved30() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved32() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved33() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved34() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved35() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved36() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved37() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved38() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved39() override { return E_NOTIMPL; }

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
  STDMETHODIMP get_Callsign(BSTR* callsign) override;
  STDMETHODIMP put_Callsign(BSTR callsign) override;
  STDMETHODIMP get_SentCount(long* count) override;
  STDMETHODIMP SentLine(long index, BSTR* text) override;
  STDMETHODIMP FailNextCall(long result) override;
  STDMETHODIMP DelayNextCall(long milliseconds) override;
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
