#pragma once
// The COM client of the host's HostApp class: the HostFactory of the program.
#include "host/host.h"

namespace rapporta::host {

// Creates the HostApp class as a local server and advises the event sink.
std::unique_ptr<Host> CreateHostApp(HostEvents& events);

}  // namespace rapporta::host
