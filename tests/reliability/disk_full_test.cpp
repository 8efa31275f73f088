// A disk that fills while the log is written. Run with the size of the files
// this process may write limited (CMakeLists.txt: 32 KB): the system then
// refuses a write past the limit as it refuses one on a full disk, with a
// short write first and a failure next.
#include "window/form_fixture.h"

namespace rapporta::test {
namespace {

class DiskFull : public FormTest {};

TEST_F(DiskFull, AWriteThatRunsOutOfRoomIsReportedAndChangesNothing) {
  StartForm();
  for (int i = 0; i < 700; ++i) {
    Receive(u"JA1ABC>a line of chat that makes the log grow, number " +
            FromWide(std::to_wstring(i)));
  }
  const Text log = form->LogText();
  ASSERT_GT(log.size(), 40000u);  // well past the limit
  // Through the window, onto a new file and onto an existing one (replaced
  // on Yes): the report names the call (a save that succeeds here means the
  // test ran without its limit); no file is left, the old text whole.
  const std::wstring fresh = folder.Path(L"new.txt"), existing = folder.Path(L"existing.txt");
  const std::string old(1000, 'o');
  WriteBytes(existing, old);
  for (const auto& [name, shown] : {std::pair(fresh, 2u), std::pair(existing, 3u)}) {
    const auto seen = Save({.fileName = name, .button = IDYES});
    ASSERT_EQ(seen.size(), shown) << "the dialog, the question if any, the report";
    EXPECT_NE(seen.back().text.find(L"詳細: WriteFile /"), std::wstring::npos) << seen.back().text;
  }
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(ReadBytes(existing), old);
  EXPECT_EQ(form->LogText(), log);
}

}  // namespace
}  // namespace rapporta::test
