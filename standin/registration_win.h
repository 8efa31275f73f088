#pragma once
// Per-user registration of the stand-in host (HKCU\Software\Classes): its
// two classes as a local server, and its type libraries so that the
// universal marshaler can carry the dual interfaces between processes.
#include <string>
#include <vector>

#include "common/text.h"

namespace rapporta::standin {

// The type libraries the executable holds, by their TYPELIB resource
// (standin.rc). The host's is served in one of two forms: the one the client
// is built from (the events dual, with the compiler's ids), or one that
// declares the events as a pure dispinterface with ids of its own, as a real
// host most likely does. The form is part of the registration: the marshaler
// reads the library from it, and COM starts the stand-in with the switch that
// names it.
enum class TypeLibrary { Host = 1, Control = 2, HostDispinterface = 3 };
constexpr wchar_t kDispinterfaceSwitch[] = L"dispinterface";

// The file name LoadTypeLib takes for one of them.
std::wstring TypeLibraryFile(const std::wstring& exePath, TypeLibrary library);

enum class Registration { Done, RefusedForeign };

// Refuses, touching nothing, when the HostApp class already names another
// program anywhere (user or machine, either registry view): the stand-in
// must never shadow a real host. Throws Failure when the registry fails.
Registration Register(const std::wstring& exePath, TypeLibrary host);

// Removes the registration only when it is this program's own.
void Unregister(const std::wstring& exePath);

// The HostApp class's LocalServer32 commands in the machine's registry, one
// per registry view that holds the class.
std::vector<Text> MachineServerCommands();

// Wine's ntdll exports wine_get_version and Windows' never does: a fact of
// the loaded system itself, which no setting or registry key can fake.
bool UnderWine();

}  // namespace rapporta::standin
