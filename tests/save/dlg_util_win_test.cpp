// The system's save dialog, called directly.
#include "save/dlg_util_win.h"
#include "ui/failure_report_win.h"
#include "window/form_fixture.h"

namespace rapporta::test {
namespace {

class DlgUtilWin : public FormTest {};

TEST_F(DlgUtilWin, TheDialogsOwnFailureIsReportedByItsName) {
  OPENFILENAMEW record{};  // no size: the dialog cannot run
  try {
    save::ShowSaveDialog(record);
    ADD_FAILURE() << "the dialog ran";
  } catch (const Failure& failure) {
    // Not the system's message for code 1.
    const std::wstring text = ui::FailureText(failure);
    EXPECT_TRUE(text.ends_with(L"\r\n\r\n詳細: GetSaveFileNameW / エラー 0x00000001 / CDERR_STRUCTSIZE"))
        << text;
  }
}

TEST_F(DlgUtilWin, NameLongerThanTheBufferIsTreatedLikeACancel) {
  // (Wine's dialog itself fails on paths past 260 characters, so the
  // overflow is made with a short buffer.)
  std::wstring buffer(8, L'\0');
  OPENFILENAMEW record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.lpstrFile = buffer.data();
  record.nMaxFile = static_cast<DWORD>(buffer.size());
  user.Set({.fileName = folder.Path(L"longer-than-eight.txt")});
  EXPECT_FALSE(save::ShowSaveDialog(record));
  EXPECT_EQ(user.Take().size(), 1u);
  EXPECT_EQ(buffer[0], L'\0') << "the size left in the buffer is not a name";
}

}  // namespace
}  // namespace rapporta::test
