#pragma once
// The host's interfaces as widl declares them from echolink_host.idl.
#include <windows.h>
#include <ocidl.h>

#include "echolink_host.h"  // generated
