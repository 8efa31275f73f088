// A disk that fills while the log is written. Run with the size of the files
// this process may write limited (CMakeLists.txt: 32 KB): the system then
// refuses a write past the limit as it refuses one on a full disk, with a
// short write first and a failure next.
#include <gtest/gtest.h>

#include "common/failure.h"
#include "save/log_file_win.h"
#include "saving_form_win.h"

namespace rapporta::reliability {
namespace {

using test::FileExists;
using test::ReadBytes;
using test::WriteBytes;

constexpr std::size_t kLimitBytes = 32 * 1024;

class DiskFull : public SavingForm {
 protected:
  // A log well past the limit, in lines as a chat gives them.
  Text FillLog() {
    for (int i = 0; i < 700; ++i) {
      form->ChatTextReceived(u"JA1ABC>a line of chat that makes the log grow, number " +
                             FromWide(std::to_wstring(i)));
    }
    Pump();
    return form->LogText();
  }
};

TEST_F(DiskFull, AWriteThatRunsOutOfRoomIsReportedAndChangesNothing) {
  const Text log = FillLog();
  ASSERT_GT(log.size(), kLimitBytes + 8000);
  // The limit is in force: the file layer itself fails, and leaves no file.
  const std::wstring probe = folder.Path(L"probe.txt");
  try {
    save::WriteLogFile(FromWide(probe), log);
    FAIL() << "the file was written: run this test under its file size limit";
  } catch (const Failure& failure) {
    std::printf("%s failed: 0x%08lX\n", failure.Operation().c_str(),
                static_cast<unsigned long>(failure.Code()));
    EXPECT_EQ(failure.Operation(), "WriteFile");
  }
  EXPECT_FALSE(FileExists(probe));

  // A new file through the window: reported, and none is left behind.
  const std::wstring fresh = folder.Path(L"new.txt");
  test::SeenDialogs seen = ClickSaveAndFail(fresh, 1);
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_EQ(seen.lastBoxText.rfind(L"WriteFile", 0), 0u) << seen.lastBoxText;
  EXPECT_FALSE(FileExists(fresh));

  // An existing file, replaced on Yes: reported, and the old text is whole.
  const std::wstring existing = folder.Path(L"existing.txt");
  const std::string old(1000, 'o');
  WriteBytes(existing, old);
  seen = ClickSaveAndFail(existing, 2);
  ASSERT_EQ(seen.boxes, 2);
  EXPECT_EQ(seen.lastBoxText.rfind(L"WriteFile", 0), 0u) << seen.lastBoxText;
  EXPECT_EQ(ReadBytes(existing), old);

  // The window goes on with its log; what fits is saved.
  ASSERT_NE(Window(), nullptr);
  EXPECT_TRUE(form->LogText() == log) << "the log changed";
  Click(ui::B_Clear);
  form->ChatTextReceived(u"short");
  ExpectTheWindowGoesOn(u"\r\n\r\n[14:07]short");
}

}  // namespace
}  // namespace rapporta::reliability
