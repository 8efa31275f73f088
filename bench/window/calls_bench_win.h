#pragma once
// How many calls into other processes each program makes from its launch to
// its connected window, with the host running.
#include "startup_bench_win.h"

namespace rapporta::bench {

// Run with WINEDEBUG=+pid,+rpc: Wine then traces every call that crosses to
// another process as "<pid>:trace:rpc:I_RpcSendReceive". For each program
// this prints "connected <pid> <name>" once its connected window shows, so
// that the calls of that process up to that line can be counted
// (scripts/bench does).
void RunCallsBench(const StartupPrograms& programs);

// One call that crosses to the host and back, with nothing in it: the
// milliseconds it takes, the host running.
double OneCallMs();

}  // namespace rapporta::bench
