// The "保存" button of the real window, with the real save command.
#include <objbase.h>

#include <atomic>

#include "form_with_save_win.h"

#include <cderr.h>

#include "save/dlg_util_win.h"
#include "ui/failure_report_win.h"

namespace rapporta::test {
namespace {

class FormSaveTest : public FormWithSaveTest {
 protected:
  void SetUp() override { StartWithLines({u"hello", u"JA1ABC>73"}); }
};

constexpr char kLogBytes[] = "\r\n\r\n[14:07]hello\r\n\r\n[14:07]JA1ABC>73";

TEST_F(FormSaveTest, SaveButtonWritesTheLogAndLeavesTheFocusWhereItWas) {
  const SeenDialogs seen = ClickSave(Typing(folder.Path(L"log")));
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.dialogOwner, Window());
  EXPECT_EQ(ReadBytes(folder.Path(L"log.txt")), kLogBytes);
  // The click gave the button the focus, and there it stays (unlike the
  // other buttons, which hand it to the input box).
  Pump();
  EXPECT_EQ(GetFocus(), Control(ui::B_Save));
}

TEST(SaveDialogFailure, IsReportedAsTheDialogsOwnCodeByItsName) {
  OPENFILENAMEW record{};  // no size: the dialog cannot run
  try {
    save::ShowSaveDialog(record);
    ADD_FAILURE() << "the dialog ran";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Code(), CDERR_STRUCTSIZE);
    // Not the system's message for code 1.
    EXPECT_EQ(ui::FailureText(failure),
              L"GetSaveFileNameW に失敗しました。\r\n\r\nエラー 0x00000001: CDERR_STRUCTSIZE");
  }
}

// Runs inside the dialog's modal loop on the window's thread, as a host
// event would.
ui::Form1* receiving = nullptr;
std::atomic<bool> received{false};
void CALLBACK ReceiveDuringTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (receiving) receiving->ChatTextReceived(u"late");
  received = true;
}

TEST_F(FormSaveTest, TextReceivedWhileTheDialogIsOpenIsSavedToo) {
  receiving = form.get();
  received = false;
  SetTimer(nullptr, 0, 10, ReceiveDuringTheDialog);
  UserAnswers answers = Typing(folder.Path(L"late.txt"));
  answers.beforeSave = [] {
    for (int i = 0; i < 500 && !received; ++i) Sleep(10);
  };
  const SeenDialogs seen = RunAsUser(answers, Window(), [&] { Click(ui::B_Save); });
  receiving = nullptr;
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(ReadBytes(folder.Path(L"late.txt")), std::string(kLogBytes) + "\r\n\r\n[14:07]late");
}

}  // namespace
}  // namespace rapporta::test
