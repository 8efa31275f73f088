// The stand-in EchoLink host: an automation server with EchoLink's class,
// interfaces and type library, for tests, demos and development.
//   echolink_standin /regserver     register for this user (exit 3: refused)
//   echolink_standin /unregserver   remove this program's registration
//   echolink_standin [/Embedding]   serve (COM starts it with /Embedding)
// /dispinterface with /regserver registers the host's events as a pure
// dispinterface, and COM then starts the stand-in with it to serve them so.
// /shadowcheck makes a start under Wine check for a real host as on Windows.
// A start that finds a real host registered for the machine ends with exit 3.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/check_win.h"
#include "common/com_apartment_win.h"
#include "common/text_win.h"
#include "common/environment_win.h"
#include "host/type_info_win.h"
#include "standin/host_objects_win.h"
#include "standin/registration_win.h"
#include "standin/shadow_rule.h"
#include "standin/standin_window_win.h"

namespace rapporta::standin {
namespace {

using Microsoft::WRL::ComPtr;

constexpr int kExitFailure = 1;
constexpr int kExitRefused = 3;
// Posted to the thread by Vanish, to end after its call has returned.
constexpr UINT kVanishMessage = WM_APP + 1;

class ClassRegistration {
 public:
  ClassRegistration(REFCLSID id, IUnknown& factory) {
    CheckHr(CoRegisterClassObject(id, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_),
            "CoRegisterClassObject");
  }
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;
  ~ClassRegistration() { CoRevokeClassObject(cookie_); }

 private:
  DWORD cookie_ = 0;
};

std::wstring ExePath() {
  // Room for the longest path the system has.
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) ThrowLastError("GetModuleFileName");
  path.resize(length);
  return path;
}

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; list && i < count; ++i) {
    std::wstring argument = list[i];
    if (!argument.empty() && (argument[0] == L'/' || argument[0] == L'-')) argument.erase(0, 1);
    for (auto& c : argument) c = towlower(c);
    arguments.push_back(argument);
  }
  LocalFree(list);
  return arguments;
}

// Until the thread's quit: Tab and Enter in the window, and the end that
// Vanish asks for.
void RunMessageLoop(const StandinWindow& window, const std::function<void()>& vanished) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!message.hwnd && message.message == kVanishMessage) vanished();
    if (IsDialogMessageW(window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

ComPtr<ITypeLib> LoadLibraryResource(const std::wstring& file) {
  ComPtr<ITypeLib> library;
  CheckHr(LoadTypeLibEx(file.c_str(), REGKIND_NONE, &library), "LoadTypeLibEx");
  return library;
}

int Serve(const std::wstring& exePath, TypeLibrary library, bool startedByCom) {
  ComApartment apartment;
  const auto hostLibrary = LoadLibraryResource(TypeLibraryFile(exePath, library));
  const auto controlLibrary = LoadLibraryResource(TypeLibraryFile(exePath, TypeLibrary::Control));
  TypeInfos types{host::InterfaceTypeInfo(*hostLibrary.Get(), __uuidof(IHostApp)),
                  host::InterfaceTypeInfo(*hostLibrary.Get(), __uuidof(IHostStation)),
                  host::InterfaceTypeInfo(*controlLibrary.Get(), __uuidof(IStandinControl))};
  // The events go out with the dispatch ids of the host's own type library.
  const auto events = host::InterfaceTypeInfo(*hostLibrary.Get(), __uuidof(IHostAppEvents));
  // A pure dispinterface has no table of its own to call the events through.
  StandinHost host(std::move(types),
                   MakeComObject<EventSource>(host::MemberDispId(*events.Get(), 0),
                                              host::MemberDispId(*events.Get(), 1),
                                              library == TypeLibrary::Host));
  StandinWindow window(host);
  host.changed = [&window] { window.Refresh(); };
  // How a test holds the creation that starts the stand-in: no control
  // object can reach a stand-in that is not running yet.
  if (const DWORD delay = MillisecondsFromEnvironment(L"RAPPORTA_STANDIN_DELAY_CREATE")) {
    host.DelayOperation(StandinHost::Operation::Create, delay);
  }

  // A person who started the host keeps it until they close it.
  std::optional<ServerReference> person;
  if (!startedByCom) person.emplace();

  auto classOf = [&host](HRESULT (*create)(StandinHost&, REFIID, void**)) {
    return MakeComObject<ClassFactory>(
        [&host, create](REFIID iid, void** object) { return create(host, iid, object); });
  };
  std::optional<ClassRegistration> hostApp(std::in_place, CLSID_HostApp,
                                           *classOf(HostAppObject::Create).Get());
  std::optional<ClassRegistration> control(std::in_place, CLSID_StandinControl,
                                           *classOf(ControlObject::Create).Get());
  // Whatever way the host ends, no client can reach the class afterwards.
  auto end = [&](bool disconnect) {
    hostApp.reset();
    control.reset();
    if (disconnect && host.sharedApp) CoDisconnectObject(host.sharedApp, 0);
    // Objects still held by clients go with the process; it ends here so
    // that none of them outlives what it refers to.
    ExitProcess(0);
  };
  host.vanish = [] { PostThreadMessageW(GetCurrentThreadId(), kVanishMessage, 0, 0); };
  ShowWindow(window.Handle(), startedByCom ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);

  RunMessageLoop(window, [&] {
    // COM sends the reply to Vanish from another thread once the call has
    // returned here: give it a moment, or a loaded machine loses the reply.
    Sleep(200);
    end(false);
  });
  end(true);
  return 0;
}

// A real host is registered for the machine: the stand-in has withdrawn
// and does not serve. A person who started it is told so; when COM started
// it nobody is there to read a note.
int StandAside(const Text& realHost, bool startedByCom) {
  if (startedByCom) return kExitRefused;
  StandinHost host({}, MakeComObject<EventSource>(0, 0, false));
  StandinWindow window(host);
  const std::wstring program =
      realHost.empty() ? L"a class with no local server" : std::wstring(Wide(realHost));
  window.StandAside(L"EchoLink is registered for this machine (" + program +
                    L"). The stand-in has removed its own registration for this user and "
                    L"does not serve, so that it never takes the real host's place.");
  ShowWindow(window.Handle(), SW_SHOWNORMAL);
  RunMessageLoop(window, [] {});
  return kExitRefused;
}

int Run() {
  const std::wstring exePath = ExePath();
  const auto arguments = Arguments();
  auto has = [&](const wchar_t* name) {
    return std::find(arguments.begin(), arguments.end(), name) != arguments.end();
  };
  const auto library = has(kDispinterfaceSwitch) ? TypeLibrary::HostDispinterface : TypeLibrary::Host;
  if (has(L"regserver")) {
    return Register(exePath, library) == Registration::Done ? 0 : kExitRefused;
  }
  if (has(L"unregserver")) {
    Unregister(exePath);
    return 0;
  }
  const bool startedByCom = has(L"embedding") || has(L"automation");
  // At every start, not only at registration: the real host may have been
  // installed since, and the user's registration would then shadow it.
  const auto realHost = RealHostAtStart(
      {UnderWine(), has(L"shadowcheck"), MachineServerCommands(), FromWide(exePath)});
  if (realHost) {
    Unregister(exePath);
    return StandAside(*realHost, startedByCom);
  }
  return Serve(exePath, library, startedByCom);
}

}  // namespace
}  // namespace rapporta::standin

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return rapporta::standin::Run();
  } catch (const rapporta::Failure& failure) {
    char code[32];  // " failed: 0x" and eight digits
    std::snprintf(code, sizeof code, " failed: 0x%08lX",
                  static_cast<unsigned long>(failure.Code()));
    OutputDebugStringA((failure.Operation() + code).c_str());
  } catch (...) {
    // Nothing to tell beyond the exit code.
  }
  return rapporta::standin::kExitFailure;
}
