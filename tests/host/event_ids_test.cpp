// The event ids read in this process from the registered type library are
// the host's own, and a registered library is used only when it is the very
// library the host reports.
#include "host/echolink_host_win.h"
#include "host/event_ids_win.h"
#include "host/type_info_win.h"
#include "processes_win.h"

namespace rapporta::test {
namespace {

using EventIds = StandinTest;

TEST_F(EventIds, AreTheHostsOwnAndTheRegisteredLibraryServesOnlyWhenItIsTheHosts) {
  Microsoft::WRL::ComPtr<IHostApp> app;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_HostApp, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)));
  const auto library = host::ContainingTypeLib(*app.Get());
  host::LibAttr attr(*library.Get());
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(attr.Put()));

  const host::EventIds fromHost = host::EventIdsIn(*library.Get());
  EXPECT_NE(fromHost.chatTextReceived, fromHost.closing);
  EXPECT_EQ(host::RegisteredEventIds(*attr), fromHost);
  const host::EventIds ids = host::EventDispIds(*app.Get());
  EXPECT_EQ(ids, fromHost);
  // The dispinterface run is that only if the client, reading the ids as it
  // does, finds the dispinterface's 9 and 5 (the dual library has the
  // compiler's): what reaches its branch for such an interface.
  EXPECT_EQ(ids.chatTextReceived == 9 && ids.closing == 5, RunName() == L"dispinterface");

  const struct {
    const char* what;
    void (*change)(TLIBATTR&);
  } others[] = {
      // The registry falls back to the neutral locale that it does have.
      {"another locale", [](TLIBATTR& a) { a.lcid = MAKELCID(0x0409, SORT_DEFAULT); }},
      {"a later minor version", [](TLIBATTR& a) { ++a.wMinorVerNum; }},
      {"another major version", [](TLIBATTR& a) { ++a.wMajorVerNum; }},
      {"another library", [](TLIBATTR& a) { a.guid.Data1 ^= 1; }},
  };
  for (const auto& other : others) {
    TLIBATTR changed = *attr;
    other.change(changed);
    EXPECT_FALSE(host::RegisteredEventIds(changed)) << other.what;
  }
}

}  // namespace
}  // namespace rapporta::test
