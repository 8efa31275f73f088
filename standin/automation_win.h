#pragma once
// IDispatch for the stand-in's dual interfaces, answered from their type
// information; every method of ours runs under Guarded (com_result_win.h).
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <utility>

#include "common/com_object_win.h"
#include "common/com_result_win.h"

namespace rapporta::standin {

template <typename Dual, typename... Others>
class Automation : public ComObject<Dual, Others...> {
 public:
  explicit Automation(Microsoft::WRL::ComPtr<ITypeInfo> info) : info_(std::move(info)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return info_.CopyTo(info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return DispGetIDsOfNames(info_.Get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) override {
    return DispInvoke(static_cast<Dual*>(this), info_.Get(), member, flags, params, result,
                      exception, argError);
  }

 private:
  Microsoft::WRL::ComPtr<ITypeInfo> info_;
};

// Keeps the server process alive while an object of it lives; the last one
// gone ends the process.
class ServerReference {
 public:
  ServerReference() noexcept { CoAddRefServerProcess(); }
  ServerReference(const ServerReference&) = delete;
  ServerReference& operator=(const ServerReference&) = delete;
  ~ServerReference() {
    if (CoReleaseServerProcess() == 0) PostQuitMessage(0);
  }
};

}  // namespace rapporta::standin
