// The host's type library puts the members where the host has them.
#include "common/bstr_win.h"
#include "host/echolink_host_win.h"
#include "host/type_info_win.h"
#include "processes_win.h"

namespace rapporta::test {
namespace {

TEST(TypeLibrary, HasTheHostsIdAndTablePositions) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  ASSERT_HRESULT_SUCCEEDED(
      LoadTypeLibEx(WindowsPath(RAPPORTA_HOST_TLB).c_str(), REGKIND_NONE, &library));
  host::LibAttr attr(*library.Get());
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(attr.Put()));
  EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_EchoLink));

  // Each interface's count of members, and the names at the positions the
  // program calls (after IDispatch's seven), so that a shifted table cannot
  // pass.
  const struct {
    IID iid;
    std::size_t members;
    int position;
    const char16_t* name;
  } rows[] = {
      {__uuidof(IHostApp), 34, 31, u"LocalStation"},
      {__uuidof(IHostApp), 34, 40, u"SendChat"},
      {__uuidof(IHostStation), 1, 7, u"Callsign"},
  };
  for (const auto& row : rows) {
    const auto info = host::InterfaceTypeInfo(*library.Get(), row.iid);
    const auto members = host::Members(*info.Get());
    ASSERT_EQ(members.size(), row.members);
    const auto& member = members[row.position - 7];
    EXPECT_EQ(member.vtablePosition, row.position);
    Bstr name;
    info->GetDocumentation(member.dispId, name.Put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(name.ToText(), row.name) << "at " << row.position;
  }
}

}  // namespace
}  // namespace rapporta::test
