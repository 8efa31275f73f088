// The save command with the real common dialog and the real question.
#include <gtest/gtest.h>

#include "common/failure.h"
#include "save/dlg_util_win.h"
#include "save/log_file_win.h"
#include "save_fixture_win.h"
#include "support/keyboard_win.h"
#include "support/modal_driver_win.h"

namespace rapporta::test {
namespace {

constexpr wchar_t kQuestion[] = L"すでにファイルが存在します。上書きしてもよろしいですか？";

TEST_F(SaveTest, DialogOpensWithTheTextFilterAndANameGetsTheDefaultExtension) {
  const SeenDialogs seen = Save(Typing(Path(L"chat")), u"\r\n\r\n[12:00]hello");
  ASSERT_TRUE(seen.dialog) << "no dialog titled ﾌｧｲﾙの保存";
  EXPECT_EQ(seen.dialogOwner, owner_);
  EXPECT_EQ(seen.fileTypeIndex, 0);
  EXPECT_EQ(seen.fileType, L"TXTﾌｧｲﾙ(*.txt)");
  EXPECT_EQ(seen.fileTypeCount, 2);
  EXPECT_EQ(seen.secondFileType, L"すべてのﾌｧｲﾙ(*.*)");
  EXPECT_EQ(seen.boxes, 0);
  EXPECT_FALSE(FileExists(Path(L"chat")));
  EXPECT_EQ(ReadBytes(Path(L"chat.txt")), "\r\n\r\n[12:00]hello");
  EXPECT_EQ(logReads, 1);
}

TEST_F(SaveTest, CancelWritesNothingAndAsksNothing) {
  // Even with the name of an existing file typed in before cancelling.
  WriteBytes(Path(L"old.txt"), "old");
  UserAnswers cancel = Typing(Path(L"old.txt"));
  cancel.save = false;
  const SeenDialogs seen = Save(cancel, u"new");
  ASSERT_TRUE(seen.dialog);
  EXPECT_EQ(seen.boxes, 0);
  EXPECT_EQ(ReadBytes(Path(L"old.txt")), "old");
  EXPECT_EQ(logReads, 0);
}

TEST_F(SaveTest, NameLongerThanTheBufferIsTreatedLikeACancel) {
  // (Wine's dialog itself fails on paths past 260 characters, so the
  // overflow is made with a short buffer.)
  std::wstring buffer(8, L'\0');
  OPENFILENAMEW record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.hwndOwner = owner_;
  record.lpstrFile = buffer.data();
  record.nMaxFile = static_cast<DWORD>(buffer.size());
  record.lpstrTitle = kDialogTitle;
  bool chosen = true;
  const SeenDialogs seen =
      RunAsUser(Typing(Path(L"longer-than-eight.txt")), owner_,
                [&] { chosen = save::ShowSaveDialog(record); });
  ASSERT_TRUE(seen.dialog);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(buffer[0], L'\0') << "the size left in the buffer is not a name";
}

TEST_F(SaveTest, SavingTwiceAsksAndOnlyYesReplacesTheFile) {
  const std::wstring name = Path(L"twice.txt");
  Save(Typing(name), u"\r\n\r\nthe first and longer log");
  ASSERT_EQ(ReadBytes(name), "\r\n\r\nthe first and longer log");

  const SeenDialogs no = Save(Typing(name, IDNO), u"\r\n\r\nsecond");
  ASSERT_EQ(no.boxes, 1) << "no overwrite question";
  EXPECT_EQ(no.boxText, kQuestion);
  EXPECT_EQ(ReadBytes(name), "\r\n\r\nthe first and longer log");
  EXPECT_EQ(logReads, 1) << "the log is read only for a write";

  const SeenDialogs yes = Save(Typing(name, IDYES), u"\r\n\r\nsecond");
  ASSERT_EQ(yes.boxes, 1);
  EXPECT_EQ(ReadBytes(name), "\r\n\r\nsecond") << "the file is replaced whole";
  EXPECT_EQ(logReads, 2);
}

TEST_F(SaveTest, NameOutsideTheSystemCodePageIsSavedAndFoundAgain) {
  const std::wstring name = Path(L"ログ\U0001F4FB");
  Save(Typing(name), u"first");
  EXPECT_EQ(ReadBytes(name + L".txt"), "first");
  const SeenDialogs again = Save(Typing(name + L".txt", IDYES), u"second");
  EXPECT_EQ(again.boxes, 1) << "the existing file was not found";
  EXPECT_EQ(ReadBytes(name + L".txt"), "second");
}

TEST_F(SaveTest, QuestionIsAYesNoInformationBoxOwnedByTheWindow) {
  const std::wstring name = Path(L"ask.txt");
  WriteBytes(name, "old");
  const SeenDialogs seen = Save(Typing(name, IDNO), u"new");
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_EQ(seen.boxOwner, owner_);
  EXPECT_FALSE(seen.ownerEnabledDuringBox) << "modal to the application";
  EXPECT_TRUE(seen.yesButton);
  EXPECT_TRUE(seen.noButton);
  EXPECT_FALSE(seen.cancelButton);
  EXPECT_TRUE(seen.yesIsDefault);
  EXPECT_TRUE(seen.informationIcon);
}

TEST_F(SaveTest, EscapeOnTheQuestionNeverReplacesTheFile) {
  // Windows ignores Escape on a Yes/No box; Wine ends it with a result that
  // is neither button. Either way the old file stays.
  const std::wstring name = Path(L"escape.txt");
  WriteBytes(name, "old");
  UserAnswers answers = Typing(name, IDNO);  // if the box is still open
  answers.beforeAnswer = [] {
    HWND box = WaitForDialog(kAppBoxTitle);
    if (box && MakeForeground(box)) PressKey(VK_ESCAPE);
    Sleep(200);
  };
  const SeenDialogs seen = Save(answers, u"new");
  ASSERT_EQ(seen.boxes, 1);
  EXPECT_EQ(ReadBytes(name), "old");
  EXPECT_EQ(logReads, 0);
}

TEST_F(SaveTest, EnterOnTheQuestionAnswersYes) {
  std::string answer;
  ModalDriver user([] {
    if (HWND box = WaitForDialog(kAppBoxTitle)) {
      if (MakeForeground(box)) {
        PressKey(VK_RETURN);
      } else {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);  // fails the test
      }
    }
  });
  save::AskYesNo(owner_, u"question?", answer);
  user.Join();
  EXPECT_EQ(answer, "YES");
}

}  // namespace
}  // namespace rapporta::test
