#pragma once
// An advised event connection that unadvises when it goes.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

namespace rapporta::host {

class AdviseToken {
 public:
  // Finds the connection point for events on source and advises sink there.
  AdviseToken(IUnknown& source, REFIID events, IUnknown& sink);
  AdviseToken(const AdviseToken&) = delete;
  AdviseToken& operator=(const AdviseToken&) = delete;
  // Unadvising a host that is already gone fails; nothing more can be done.
  ~AdviseToken() {
    if (point_) point_->Unadvise(cookie_);
  }

 private:
  Microsoft::WRL::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace rapporta::host
