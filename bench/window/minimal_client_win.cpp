// The floor for Rapporta's start-up: the bare window plus the least a client
// of the host must do. It creates the host object, advises an event sink that
// ignores every event, reads the call sign into the caption, and only then
// shows the window, as Rapporta does. No type information, no controls.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

#include "bare_window_win.h"
#include "common/bstr_win.h"
#include "common/check_win.h"
#include "common/com_apartment_win.h"
#include "common/com_object_win.h"
#include "host/advise_win.h"
#include "host/echolink_host_win.h"

namespace {

using Microsoft::WRL::ComPtr;

class IgnoringSink final : public rapporta::ComObject<IHostAppEvents> {
 public:
  STDMETHODIMP ChatTextReceived(BSTR) noexcept override { return S_OK; }
  STDMETHODIMP Closing() noexcept override { return S_OK; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) noexcept override {
    return S_OK;
  }
};

std::wstring Callsign(IHostApp& app) {
  ComPtr<IHostStation> station;
  rapporta::CheckHr(app.get_LocalStation(&station), "LocalStation");
  rapporta::Bstr callsign;
  rapporta::CheckHr(station->get_Callsign(callsign.Put()), "Callsign");
  return callsign.Get() ? callsign.Get() : L"";
}

int Run(HINSTANCE instance, int showCommand) {
  const HWND window = rapporta::bench::CreateBareWindow(instance, L"Minimal client");
  if (!window) return 1;

  ComPtr<IHostApp> app;
  rapporta::CheckHr(
      CoCreateInstance(__uuidof(HostApp), nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)),
      "CoCreateInstance(HostApp)");
  const auto sink = rapporta::MakeComObject<IgnoringSink>();
  const rapporta::host::AdviseToken advise(*app.Get(), __uuidof(IHostAppEvents), *sink.Get());
  const std::wstring caption = L"Minimal client <" + Callsign(*app.Get()) + L">";
  SetWindowTextW(window, caption.c_str());

  return rapporta::bench::ShowAndRun(window, showCommand);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  try {
    const rapporta::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return Run(instance, showCommand);
  } catch (const rapporta::Failure&) {
    return 1;
  }
}
