// Where the host's table has the members the program calls, and how long
// each table is, checked as this file compiles: an interface declaration
// that shifts or shortens a table does not build. The header's C view lays
// each table out as a struct of function pointers, one slot each, IUnknown's
// and IDispatch's seven first.
#define CINTERFACE
#include <cstddef>

#include "host/echolink_host_win.h"

namespace {

constexpr std::size_t Slot(std::size_t offset) { return offset / sizeof(void*); }

static_assert(Slot(offsetof(IHostAppVtbl, get_LocalStation)) == 31);
static_assert(Slot(offsetof(IHostAppVtbl, SendChat)) == 40);
static_assert(Slot(sizeof(IHostAppVtbl)) == 41, "34 members of its own");
static_assert(Slot(offsetof(IHostStationVtbl, get_Callsign)) == 7);
static_assert(Slot(sizeof(IHostStationVtbl)) == 8);
// The event sink answers the events' table as well as Invoke.
static_assert(Slot(offsetof(IHostAppEventsVtbl, ChatTextReceived)) == 7);
static_assert(Slot(offsetof(IHostAppEventsVtbl, Closing)) == 8);

}  // namespace
