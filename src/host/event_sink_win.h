#pragma once
// Receives the host's events and hands them to the window. The host may call
// it through IDispatch::Invoke with the dispatch ids of its own type
// information, or through the event interface's table; both arrive here.
#include <memory>

#include "common/com_object_win.h"
#include "host/echolink_host_win.h"
#include "host/host.h"

namespace rapporta::host {

class EventSink final : public ComObject<IHostAppEvents> {
 public:
  // keep holds events alive for as long as a call may reach the sink.
  EventSink(HostEvents& events, DISPID chatTextReceived, DISPID closing,
            std::shared_ptr<void> keep = nullptr)
      : events_(events), keep_(std::move(keep)), chatTextReceived_(chatTextReceived),
        closing_(closing) {}

  // IHostAppEvents
  STDMETHODIMP ChatTextReceived(BSTR text) noexcept override;
  STDMETHODIMP Closing() noexcept override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO*, UINT* argError) noexcept override;

 private:
  HostEvents& events_;
  std::shared_ptr<void> keep_;
  DISPID chatTextReceived_;
  DISPID closing_;
};

}  // namespace rapporta::host
