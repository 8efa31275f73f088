#include "host/event_ids_win.h"

#include <wrl/client.h>

#include "common/check_win.h"
#include "host/echolink_host_win.h"
#include "host/type_info_win.h"

namespace rapporta::host {
namespace {

using Microsoft::WRL::ComPtr;

// A copy of the library's attributes; the lent ones go back at once.
TLIBATTR AttributesOf(ITypeLib& library) {
  LibAttr attr(library);
  CheckHr(library.GetLibAttr(attr.Put()), "ITypeLib.GetLibAttr");
  return *attr;
}

bool SameLibrary(const TLIBATTR& a, const TLIBATTR& b) {
  return IsEqualGUID(a.guid, b.guid) && a.wMajorVerNum == b.wMajorVerNum &&
         a.wMinorVerNum == b.wMinorVerNum && a.lcid == b.lcid;
}

}  // namespace

EventIds EventIdsIn(ITypeLib& library) {
  // Only the two members needed, not the whole interface.
  const auto events = InterfaceTypeInfo(library, __uuidof(IHostAppEvents));
  return {MemberDispId(*events.Get(), 0), MemberDispId(*events.Get(), 1)};
}

std::optional<EventIds> RegisteredEventIds(const TLIBATTR& hostLibrary) {
  ComPtr<ITypeLib> registered;
  if (FAILED(LoadRegTypeLib(hostLibrary.guid, hostLibrary.wMajorVerNum, hostLibrary.wMinorVerNum,
                            hostLibrary.lcid, &registered))) {
    return std::nullopt;
  }
  // The registry may offer a later minor version or another locale instead.
  if (!SameLibrary(AttributesOf(*registered.Get()), hostLibrary)) return std::nullopt;
  return EventIdsIn(*registered.Get());
}

EventIds EventDispIds(IDispatch& app) {
  const auto library = ContainingTypeLib(app);
  if (auto ids = RegisteredEventIds(AttributesOf(*library.Get()))) return *ids;
  return EventIdsIn(*library.Get());
}

}  // namespace rapporta::host
