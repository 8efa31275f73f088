#include "standin/registration_win.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <vector>

#include "common/check_win.h"
#include "common/text_win.h"
#include "standin/handles_win.h"
#include "host/echolink_host_win.h"
#include "standin/shadow_rule.h"
#include "standin_control.h"  // generated

namespace rapporta::standin {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";
// The universal (type library) marshaler, and the one for interfaces that
// are dispatch only (as RegisterTypeLib registers dispinterfaces).
constexpr wchar_t kAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey(REFCLSID id) { return L"CLSID\\" + GuidText(id); }

void CheckReg(LSTATUS status, const char* operation) {
  if (status != ERROR_SUCCESS) throw Failure(operation, HRESULT_FROM_WIN32(status));
}

UniqueKey OpenKey(HKEY root, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return {};
  return UniqueKey(key);
}

std::wstring ReadDefault(HKEY key, const wchar_t* subkey) {
  DWORD bytes = 0;
  if (RegGetValueW(key, subkey, nullptr, RRF_RT_REG_SZ, nullptr,
                   nullptr, &bytes) != ERROR_SUCCESS) {
    return {};
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(key, subkey, nullptr, RRF_RT_REG_SZ, nullptr,
                   value.data(), &bytes) != ERROR_SUCCESS) {
    return {};
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

// Where the registration goes: the user's classes. Wine's COM reads only the
// machine's classes, so under Wine (whose prefix is the user's own) it goes
// there too.
std::vector<HKEY> Roots() {
  if (UnderWine()) return {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  return {HKEY_CURRENT_USER};
}

void WriteValue(HKEY root, const std::wstring& path, const wchar_t* name,
                const std::wstring& value) {
  UniqueKey key;
  CheckReg(RegCreateKeyExW(root, (kClasses + path).c_str(), 0, nullptr, 0,
                           KEY_WRITE, nullptr, key.Put(), nullptr),
           "RegCreateKeyEx");
  CheckReg(RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
           "RegSetValueEx");
}

struct Library {
  GUID id;
  const wchar_t* name;
  TypeLibrary resource;
  std::vector<std::pair<GUID, const wchar_t*>> interfaces;
};

// Removing the registration needs only the ids: any host library will do.
std::vector<Library> Libraries(TypeLibrary host = TypeLibrary::Host) {
  return {
      {LIBID_EchoLink,
       L"EchoLink",
       host,
       {{IID_IHostApp, L"IHostApp"},
        {IID_IHostStation, L"IHostStation"},
        {IID_IHostAppEvents, L"IHostAppEvents"}}},
      {LIBID_RapportaStandin,
       L"Rapporta stand-in host control",
       TypeLibrary::Control,
       {{IID_IStandinControl, L"IStandinControl"}}},
  };
}

struct Class {
  GUID id;
  const wchar_t* name;
  GUID library;
};

std::vector<Class> Classes() {
  return {{CLSID_HostApp, L"EchoLink HostApp (Rapporta stand-in)", LIBID_EchoLink},
          {CLSID_StandinControl, L"Rapporta stand-in host control", LIBID_RapportaStandin}};
}

// The HostApp class's LocalServer32 command under root in view; none when
// the class is not there. A class without a local server (an in-process one,
// say) gives an empty command: it is not ours either.
std::optional<Text> ServerCommand(HKEY root, REGSAM view) {
  const auto key = OpenKey(root, kClasses + ClassKey(CLSID_HostApp), view);
  if (!key) return std::nullopt;
  return FromWide(ReadDefault(key.Get(), L"LocalServer32"));
}

// The HostApp class's LocalServer32 commands under roots, in either view.
std::vector<Text> ServerCommands(std::initializer_list<HKEY> roots) {
  std::vector<Text> commands;
  for (HKEY root : roots) {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
      if (auto command = ServerCommand(root, view)) commands.push_back(std::move(*command));
    }
  }
  return commands;
}

void RegisterUnder(HKEY root, const std::wstring& exePath, TypeLibrary hostLibrary) {
  std::wstring command = L"\"" + exePath + L"\"";
  if (hostLibrary == TypeLibrary::HostDispinterface) {
    command += std::wstring(L" /") + kDispinterfaceSwitch;
  }
  for (const auto& c : Classes()) {
    const std::wstring key = ClassKey(c.id);
    WriteValue(root, key, nullptr, c.name);
    WriteValue(root, key + L"\\LocalServer32", nullptr, command);
    WriteValue(root, key + L"\\TypeLib", nullptr, GuidText(c.library));
  }
  const std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
  for (const auto& library : Libraries(hostLibrary)) {
    const std::wstring id = GuidText(library.id);
    const std::wstring key = L"TypeLib\\" + id + L"\\1.0";
    const std::wstring file = TypeLibraryFile(exePath, library.resource);
    WriteValue(root, key, nullptr, library.name);
    WriteValue(root, key + L"\\FLAGS", nullptr, L"0");
    WriteValue(root, key + L"\\HELPDIR", nullptr, folder);
    // A 32-bit client reads only win32; a 64-bit one falls back to it.
    WriteValue(root, key + L"\\0\\win32", nullptr, file);
    if (sizeof(void*) == 8) WriteValue(root, key + L"\\0\\win64", nullptr, file);
    for (const auto& [iid, name] : library.interfaces) {
      const std::wstring ikey = L"Interface\\" + GuidText(iid);
      WriteValue(root, ikey, nullptr, name);
      const bool dispatchOnly =
          iid == IID_IHostAppEvents && hostLibrary == TypeLibrary::HostDispinterface;
      const wchar_t* proxy = dispatchOnly ? kDispatchProxy : kAutomationProxy;
      WriteValue(root, ikey + L"\\ProxyStubClsid32", nullptr, proxy);
      WriteValue(root, ikey + L"\\ProxyStubClsid", nullptr, proxy);
      WriteValue(root, ikey + L"\\TypeLib", nullptr, id);
      WriteValue(root, ikey + L"\\TypeLib", L"Version", L"1.0");
    }
  }
}

void UnregisterUnder(HKEY root, const std::wstring& exePath) {
  const auto command = ServerCommand(root, 0);
  if (!command || ForeignServer({*command}, FromWide(exePath))) return;
  const auto remove = [root](const std::wstring& path) {
    RegDeleteTreeW(root, (kClasses + path).c_str());
  };
  for (const auto& c : Classes()) remove(ClassKey(c.id));
  for (const auto& library : Libraries()) {
    remove(L"TypeLib\\" + GuidText(library.id));
    for (const auto& entry : library.interfaces) remove(L"Interface\\" + GuidText(entry.first));
  }
}

}  // namespace

std::wstring TypeLibraryFile(const std::wstring& exePath, TypeLibrary library) {
  // The first resource goes by the file's name alone.
  if (library == TypeLibrary::Host) return exePath;
  return exePath + L"\\" + std::to_wstring(static_cast<int>(library));
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::vector<Text> MachineServerCommands() { return ServerCommands({HKEY_LOCAL_MACHINE}); }

Registration Register(const std::wstring& exePath, TypeLibrary library) {
  if (ForeignServer(ServerCommands({HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}), FromWide(exePath))) {
    return Registration::RefusedForeign;
  }
  for (HKEY root : Roots()) RegisterUnder(root, exePath, library);
  return Registration::Done;
}

void Unregister(const std::wstring& exePath) {
  for (HKEY root : Roots()) UnregisterUnder(root, exePath);
}

}  // namespace rapporta::standin
