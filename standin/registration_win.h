#pragma once
// Per-user registration of the stand-in host (HKCU\Software\Classes): its
// two classes as a local server, and its type libraries so that the
// universal marshaler can carry the dual interfaces between processes.
#include <string>

namespace rapporta::standin {

enum class Registration { Done, RefusedForeign };

// Refuses, touching nothing, when the HostApp class already names another
// program anywhere (user or machine, either registry view): the stand-in
// must never shadow a real host. Throws Failure when the registry fails.
Registration Register(const std::wstring& exePath);

// Removes the registration only when it is this program's own.
void Unregister(const std::wstring& exePath);

// The program a class's LocalServer32 command names, without quotes or
// arguments; empty when there is none.
std::wstring ServerPath(const std::wstring& command);

}  // namespace rapporta::standin
