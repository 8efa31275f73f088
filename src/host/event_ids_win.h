#pragma once
// The dispatch ids of the host's two events: the first and the second member
// of its event interface, as the host's own type library gives them.
//
// Every call on the host's type information crosses into the host's process.
// The library is therefore read in this process from its registered copy
// when, and only when, that copy is the very library the running host
// reports: the same id, version and locale. Otherwise the host is asked.
#include <windows.h>
#include <oaidl.h>

#include <optional>

namespace rapporta::host {

struct EventIds {
  DISPID chatTextReceived;
  DISPID closing;
  bool operator==(const EventIds&) const = default;
};

// The ids from the registered copy, or from the host when it has none that
// is the same library.
EventIds EventDispIds(IDispatch& app);

// The ids as a library gives them, wherever it lives.
EventIds EventIdsIn(ITypeLib& library);
// The registered library with exactly these attributes, read in this
// process; empty when there is none.
std::optional<EventIds> RegisteredEventIds(const TLIBATTR& hostLibrary);

}  // namespace rapporta::host
