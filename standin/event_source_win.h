#pragma once
// The stand-in's connection point for the host's events, and the raising of
// them to every advised client.
#include <ocidl.h>
#include <wrl/client.h>

#include <map>

#include "common/text.h"
#include "common/com_object_win.h"

namespace rapporta::standin {

class EventSource final : public ComObject<IConnectionPoint> {
 public:
  // The dispatch ids the host's type information gives its two events, and
  // whether the event interface has a table beyond IDispatch's.
  EventSource(DISPID chatTextReceived, DISPID closing, bool hasTable)
      : chatTextReceived_(chatTextReceived), closing_(closing), hasTable_(hasTable) {}

  // The object whose connection point this is, while it lives.
  void SetContainer(IConnectionPointContainer* container) noexcept { container_ = container; }
  // Without a table of its own, events go by Invoke whatever is asked.
  void SetEventsByTable(bool byTable) noexcept { byTable_ = byTable && hasTable_; }
  long SinkCount() const noexcept { return static_cast<long>(sinks_.size()); }

  void RaiseChatTextReceived(TextView text);
  void RaiseClosing();

  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

 private:
  // Calls every sink, by Invoke with member and args or through the table
  // by byTable; a sink whose process is gone is dropped (nobody tells a
  // server when a client dies).
  template <typename ByTable>
  void Raise(DISPID member, VARIANT* args, UINT count, ByTable&& byTable);

  DISPID chatTextReceived_;
  DISPID closing_;
  bool hasTable_;
  bool byTable_ = false;
  IConnectionPointContainer* container_ = nullptr;
  std::map<DWORD, Microsoft::WRL::ComPtr<IUnknown>> sinks_;
  DWORD nextCookie_ = 1;
};

}  // namespace rapporta::standin
