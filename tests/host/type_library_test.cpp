// The host's type library puts the members where the host has them.
#include <gtest/gtest.h>

#include <string>

#include "host/echolink_host_win.h"
#include "host/type_info_win.h"
#include "standin_session_win.h"

namespace rapporta::testing {
namespace {

TEST(TypeLibrary, HasTheHostsIdsNameAndTablePositions) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  ASSERT_HRESULT_SUCCEEDED(
      LoadTypeLibEx(WindowsPath(RAPPORTA_HOST_TLB).c_str(), REGKIND_NONE, &library));
  BSTR name = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
  EXPECT_STREQ(name, L"EchoLink");
  SysFreeString(name);
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_EchoLink));
  library->ReleaseTLibAttr(attr);

  auto app = host::Members(*host::InterfaceTypeInfo(*library.Get(), __uuidof(IHostApp)).Get());
  ASSERT_EQ(app.size(), 34u);  // positions 7 to 40
  EXPECT_EQ(app.front().vtablePosition, 7);
  EXPECT_EQ(app[31 - 7].vtablePosition, 31);  // LocalStation
  EXPECT_EQ(app.back().vtablePosition, 40);   // SendChat
  auto station =
      host::Members(*host::InterfaceTypeInfo(*library.Get(), __uuidof(IHostStation)).Get());
  ASSERT_EQ(station.size(), 1u);
  EXPECT_EQ(station[0].vtablePosition, 7);  // Callsign
  auto events =
      host::Members(*host::InterfaceTypeInfo(*library.Get(), __uuidof(IHostAppEvents)).Get());
  ASSERT_EQ(events.size(), 2u);
  EXPECT_NE(events[0].dispId, events[1].dispId);

  // The names at those positions, so a shifted table cannot pass.
  auto info = host::InterfaceTypeInfo(*library.Get(), __uuidof(IHostApp));
  auto nameAt = [&](MEMBERID id) {
    BSTR member = nullptr;
    info->GetDocumentation(id, &member, nullptr, nullptr, nullptr);
    std::wstring text = member ? member : L"";
    SysFreeString(member);
    return text;
  };
  EXPECT_EQ(nameAt(app[31 - 7].dispId), L"LocalStation");
  EXPECT_EQ(nameAt(app.back().dispId), L"SendChat");
}

}  // namespace
}  // namespace rapporta::testing
