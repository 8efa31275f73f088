#include "host/event_sink_win.h"

#include "common/bstr_win.h"
#include "common/com_result_win.h"

namespace rapporta::host {

STDMETHODIMP EventSink::ChatTextReceived(BSTR text) noexcept {
  return Guarded([&] { events_.ChatTextReceived(Bstr::ToText(text)); });
}

STDMETHODIMP EventSink::Closing() noexcept {
  return Guarded([&] { events_.Closing(); });
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT* argError) noexcept {
  if (result) VariantInit(result);
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  const UINT argCount = params ? params->cArgs : 0;
  if (params && params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (member == closing_) {
    if (argCount != 0) return DISP_E_BADPARAMCOUNT;
    return Closing();
  }
  if (member != chatTextReceived_) return DISP_E_MEMBERNOTFOUND;
  if (argCount != 1) return DISP_E_BADPARAMCOUNT;
  // A caller may pass the text by reference or as another type that reads
  // as a string; the event wants the text itself.
  Variant text;
  if (FAILED(VariantChangeType(text.Get(), &params->rgvarg[0], 0, VT_BSTR))) {
    if (argError) *argError = 0;
    return DISP_E_TYPEMISMATCH;
  }
  return ChatTextReceived(text.Get()->bstrVal);
}

}  // namespace rapporta::host
