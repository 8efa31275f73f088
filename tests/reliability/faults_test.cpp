// Faults around the real rapporta.exe and the real stand-in host: the host
// gone, and the host's Closing in the middle of start-up, a send, the save
// dialog and the overwrite question. The work in progress completes, nothing
// is lost, and then the program ends.
#include <gtest/gtest.h>

#include "rapporta_process_win.h"
#include "support/files_win.h"
#include "save/save_steps.h"

namespace rapporta::testing {
namespace {

const std::wstring kSaveTitle(Wide(save::kSaveTitle));
constexpr wchar_t kBefore[] = L"\r\n\r\n[00:00]before";

// A log of plain ASCII is the same bytes in every code page.
std::wstring Widened(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

// rapporta.exe connected, with one received line in its log.
class Faults : public RunningRapporta {
 protected:
  void SetUp() override {
    RunningRapporta::SetUp();
    standin_.Inject(u"before");
    ASSERT_TRUE(Shows(kBefore));
  }
  HWND OpenSaveDialog() {
    ClickSave(form_);
    return rapporta_.Dialog(kSaveTitle.c_str());
  }
  // The host closes and one more line arrives while a modal window is open:
  // the program must wait for it.
  void CloseWithOneMoreLine(const char16_t* line) {
    Check(standin_.Control().RaiseClosing(), "RaiseClosing");
    standin_.Inject(line);
    EXPECT_FALSE(rapporta_.Ended(300));
  }
  // Once the modal work is done: the file holds everything, then it ends.
  void ExpectSavedThenEnded(const std::wstring& path, const std::wstring& lastLine) {
    EXPECT_TRUE(rapporta_.Ended(10000));
    EXPECT_EQ(WithoutTimes(Widened(test::ReadBytes(path))),
              std::wstring(kBefore) + L"\r\n\r\n[00:00]" + lastLine);
    ExpectHostHoldsNothing();
  }

  test::TempFolder folder_;
};

TEST_F(Faults, AVanishedHostFailsTheSendButTheLogStaysAndCanBeSaved) {
  const std::wstring log = WindowText(log_);
  Check(standin_.Control().Vanish(), "Vanish");
  ASSERT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);

  SendLine(form_, L"into the void");
  HWND box = rapporta_.Dialog(L"Rapporta");
  ASSERT_TRUE(box);
  EXPECT_NE(BoxText(box).find(L"HostApp.SendChat"), std::wstring::npos) << BoxText(box);
  Press(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(WindowText(log_), log);
  EXPECT_EQ(WindowText(ControlOf(form_, ui::sInput)), L"into the void");

  HWND dialog = OpenSaveDialog();
  ASSERT_TRUE(dialog);
  const std::wstring path = folder_.Path(L"without the host.txt");
  ChooseFile(dialog, path);
  EXPECT_TRUE(WaitFor([&] { return Widened(test::ReadBytes(path)) == log; }));
  EXPECT_TRUE(Responsive(form_));
}

TEST_F(Faults, ClosingInTheMiddleOfASendLetsTheSendFinishThenEnds) {
  Check(standin_.Control().RaiseClosingInNextCall(), "RaiseClosingInNextCall");
  SendLine(form_, L"last words");
  bool box = false;
  WaitFor([&] {
    box = box || rapporta_.VisibleWindow(L"#32770") != nullptr;
    return rapporta_.Ended();
  });
  EXPECT_TRUE(rapporta_.Ended());
  EXPECT_FALSE(box) << "no failure is reported";
  EXPECT_EQ(standin_.SentLines(), std::vector<Text>{u"last words"});
  ExpectHostHoldsNothing();
}

TEST_F(Faults, ClosingWhileTheSaveDialogIsOpenSavesEverythingThenEnds) {
  HWND dialog = OpenSaveDialog();
  ASSERT_TRUE(dialog);
  CloseWithOneMoreLine(u"while the dialog is open");
  EXPECT_TRUE(IsWindowVisible(dialog));
  const std::wstring path = folder_.Path(L"closing.txt");
  ChooseFile(dialog, path);
  ExpectSavedThenEnded(path, L"while the dialog is open");
}

TEST_F(Faults, ClosingDuringTheOverwriteQuestionSavesEverythingThenEnds) {
  const std::wstring path = folder_.Path(L"existing.txt");
  test::WriteBytes(path, "old");
  HWND dialog = OpenSaveDialog();
  ASSERT_TRUE(dialog);
  ChooseFile(dialog, path);
  HWND question = rapporta_.Dialog(L"Rapporta");
  ASSERT_TRUE(question);
  EXPECT_EQ(BoxText(question), Wide(save::kOverwriteQuestion));
  CloseWithOneMoreLine(u"during the question");
  EXPECT_EQ(test::ReadBytes(path), "old");
  Press(question, IDYES);
  ExpectSavedThenEnded(path, L"during the question");
}

TEST(FaultsAtStartup, ClosingDuringStartupEndsTheProgramWithoutShowingAnything) {
  ComApartment apartment;
  StandinSession standin;
  Check(standin.Control().RaiseClosingInNextCall(), "RaiseClosingInNextCall");
  RapportaProcess rapporta;
  bool shown = false;
  WaitFor(
      [&] {
        shown = shown || rapporta.VisibleWindow(nullptr) != nullptr;
        return rapporta.Ended();
      },
      15000);
  ASSERT_TRUE(rapporta.Ended());
  EXPECT_FALSE(shown);
  DWORD code = 1;
  GetExitCodeProcess(rapporta.Handle(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(WaitFor([&] { return standin.SinkCount() == 0; }, 5000));
}

}  // namespace
}  // namespace rapporta::testing
