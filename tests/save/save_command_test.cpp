// The "保存" button of the real window: the real save dialog, the real
// question and the real file; and the save dialog called directly.
#include "save/dlg_util_win.h"
#include "window/form_fixture.h"

namespace rapporta::test {
namespace {

const std::string kLog = "\r\n\r\n[14:07]hello\r\n\r\n[14:07]JA1ABC>73";

class SaveCommand : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    StartForm();
    Receive(u"hello");
    Receive(u"JA1ABC>73");
  }
};

// Cancel writes nothing and asks nothing, even with the name of an existing
// file typed in.
TEST_F(SaveCommand, TheDialogWritesTheLogUnderTheNameWithTheDefaultExtensionAndCancelNothing) {
  WriteBytes(folder.Path(L"old.txt"), "old");
  EXPECT_EQ(Save({.fileName = folder.Path(L"old.txt"), .save = false}).size(), 1u);
  EXPECT_EQ(ReadBytes(folder.Path(L"old.txt")), "old");
  const auto seen = Save({.fileName = folder.Path(L"log")});
  ASSERT_EQ(seen.size(), 1u) << "the dialog alone";
  EXPECT_EQ(seen[0].title, L"ﾌｧｲﾙの保存");
  EXPECT_EQ(seen[0].owner, Window());
  EXPECT_EQ(seen[0].fileTypes, (std::vector<std::wstring>{L"TXTﾌｧｲﾙ(*.txt)", L"すべてのﾌｧｲﾙ(*.*)"}));
  EXPECT_EQ(ReadBytes(folder.Path(L"log.txt")), kLog);
  // The click gave the button the focus, and there it stays (unlike the
  // other buttons, which hand it to the input box).
  EXPECT_EQ(GetFocus(), Control(ui::B_Save));
}

// However the question is answered, only Yes replaces the file, whole. The
// name lies outside the system code page and is found all the same.
TEST_F(SaveCommand, AnExistingFileIsReplacedOnlyOnYes) {
  const struct {
    const char* how;
    int button;  // after the key, if the box is still open
    WORD key;    // pressed on the box first; 0: none
    bool replaced;
  } answers[] = {
      {"No", IDNO, 0, false},
      {"Yes", IDYES, 0, true},
      // Windows ignores Escape on a Yes/No box; Wine ends it with a result
      // that is neither button.
      {"Escape", IDNO, VK_ESCAPE, false},
      {"Enter, Yes being the default", IDNO, VK_RETURN, true},
  };
  const std::wstring name = folder.Path(L"ログ\U0001F4FB.txt");
  const std::string old(100, 'o');
  for (const auto& a : answers) {
    SCOPED_TRACE(a.how);
    WriteBytes(name, old);
    const auto seen = Save({.fileName = name, .button = a.button, .first = [&](HWND box) {
      if (!a.key || !GetDlgItem(box, IDYES)) return;  // no key, or the save dialog
      if (MakeForeground(box)) PressKey(a.key);
      for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(10);
    }});
    ASSERT_EQ(seen.size(), 2u) << "the dialog, then the question";
    EXPECT_EQ(seen[1].title, L"Rapporta");
    EXPECT_EQ(seen[1].text, L"すでにファイルが存在します。上書きしてもよろしいですか？");
    EXPECT_EQ(seen[1].owner, Window());
    EXPECT_FALSE(seen[1].ownerEnabled) << "modal to the application";
    EXPECT_EQ(seen[1].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(seen[1].icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(ReadBytes(name), a.replaced ? kLog : old);
  }
}

using SaveDialog = FormTest;

// A name longer than the buffer is a cancel. (A dialog that cannot run at all
// is a failure like any other, named by the dialog's own code.)
TEST_F(SaveDialog, ANameLongerThanTheBufferIsACancel) {
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
