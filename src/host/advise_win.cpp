#include "host/advise_win.h"

#include "common/check_win.h"

namespace rapporta::host {

AdviseToken::AdviseToken(IUnknown& source, REFIID events, IUnknown& sink) {
  Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
  CheckHr(source.QueryInterface(IID_PPV_ARGS(&container)),
          "HostApp.QueryInterface(IConnectionPointContainer)");
  Microsoft::WRL::ComPtr<IConnectionPoint> point;
  CheckHr(container->FindConnectionPoint(events, &point), "HostApp.FindConnectionPoint");
  CheckHr(point->Advise(&sink, &cookie_), "HostApp.Advise");
  point_ = std::move(point);
}

}  // namespace rapporta::host
