// The host's Closing at start-up and wherever the real rapporta.exe is busy:
// the work in progress completes, nothing is lost, then the program ends and
// the real stand-in host holds nothing of it and ends too. (A host that
// vanishes is the host link's and the window's tests' case.)
#include "processes_win.h"
#include "support/files_win.h"
#include "save/save_steps.h"

namespace rapporta::test {
namespace {

enum class Busy { Sending, InTheSaveDialog, InTheOverwriteQuestion };
constexpr const char* kBusy[] = {"Sending", "InTheSaveDialog", "InTheOverwriteQuestion"};

class ClosingWhile : public RunningRapporta, public ::testing::WithParamInterface<Busy> {
 protected:
  TempFolder folder_;
};

TEST_P(ClosingWhile, BusyLetsTheWorkFinishLosesNothingThenEnds) {
  const Busy busy = GetParam();
  if (busy == Busy::Sending) {
    CheckHr(standin_->RaiseClosingInNextCall(), "RaiseClosingInNextCall");
    SendLine(form_, L"last words");
    EXPECT_TRUE(rapporta_.EndsWithoutShowing(L"#32770", 10000)) << "no failure is reported";
    EXPECT_EQ(standin_.SentLines(), std::vector<Text>{u"last words"});
  } else {
    const bool question = busy == Busy::InTheOverwriteQuestion;
    const std::wstring path = folder_.Path(L"closing.txt");
    if (question) WriteBytes(path, "old");
    PostMessageW(ControlOf(form_, ui::B_Save), BM_CLICK, 0, 0);
    HWND dialog = rapporta_.WaitForWindow(L"#32770", std::wstring(Wide(save::kSaveTitle)));
    ASSERT_TRUE(dialog);
    HWND box = nullptr;
    if (question) {
      ChooseFile(dialog, path);
      ASSERT_TRUE(box = rapporta_.WaitForWindow(L"#32770", L"Rapporta"));
      EXPECT_EQ(BoxText(box), Wide(save::kOverwriteQuestion));
    }
    // The host closes and one more line arrives while a modal window is
    // open: the program waits for it.
    CheckHr(standin_->RaiseClosing(), "RaiseClosing");
    standin_.Inject(u"while busy");
    EXPECT_FALSE(rapporta_.Ended(300));
    if (question) {
      EXPECT_EQ(ReadBytes(path), "old");
      Press(box, IDYES);
    } else {
      EXPECT_TRUE(IsWindowVisible(dialog));
      ChooseFile(dialog, path);
    }
    EXPECT_TRUE(rapporta_.Ended(10000));
    // A log of plain ASCII is the same bytes in every code page.
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(WithoutTimes({bytes.begin(), bytes.end()}), L"\r\n\r\n[00:00]while busy");
  }
  EXPECT_TRUE(rapporta_.Ended(10000));
  EXPECT_TRUE(standin_.HoldsNothing());
  // Nothing is left running: with the test's own hold gone, the host ends.
  // (Every one of our COM objects once kept a reference too many, and the
  // host never ended.)
  EXPECT_TRUE(standin_.ReleaseAndWaitForExit(10000));
}

INSTANTIATE_TEST_SUITE_P(EachPlace, ClosingWhile,
                         ::testing::Values(Busy::Sending, Busy::InTheSaveDialog,
                                           Busy::InTheOverwriteQuestion),
                         [](const auto& info) { return std::string(kBusy[int(info.param)]); });

TEST(FaultsAtStartup, ClosingDuringStartupEndsTheProgramWithoutShowingAnything) {
  ComApartment apartment;
  StandinSession standin;
  CheckHr(standin->RaiseClosingInNextCall(), "RaiseClosingInNextCall");
  Rapporta rapporta;
  EXPECT_TRUE(rapporta.EndsWithoutShowing(nullptr, 15000));
  EXPECT_EQ(rapporta.ExitCode(0), 0u);
  EXPECT_TRUE(standin.HoldsNothing());
}

}  // namespace
}  // namespace rapporta::test
