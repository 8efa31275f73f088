// Faults around the real rapporta.exe and the real stand-in host: the host
// gone, and the host's Closing in the middle of start-up, a send, the save
// dialog and the overwrite question. The work in progress completes, nothing
// is lost, and then the program ends.
#include <gtest/gtest.h>

#include "common/text_win.h"
#include "outside_win.h"
#include "save/save_steps.h"
#include "save/save_fixture_win.h"

namespace rapporta::reliability {
namespace {

using testing::Check;
using testing::StandinSession;
using testing::WaitFor;

const std::wstring kSaveTitle(Wide(save::kSaveTitle));
const std::wstring kQuestion(Wide(save::kOverwriteQuestion));

// A log of plain ASCII is the same bytes in every code page.
std::wstring Widened(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

class Faults : public ::testing::Test {
 protected:
  // rapporta.exe connected, with one received line in its log.
  HWND Start(RapportaProcess& rapporta) {
    HWND form = ConnectedForm(rapporta);
    if (!form) return nullptr;
    standin_.Inject(u"before");
    WaitFor([&] { return WithoutTimes(TextOf(ControlOf(form, ui::lChat))) == kBefore; });
    return form;
  }
  // Whether a box or dialog of the process shows up while it ends.
  static bool EndsWithoutAnyBox(RapportaProcess& rapporta) {
    bool box = false;
    WaitFor(
        [&] {
          box = box || rapporta.VisibleWindow(L"#32770") != nullptr;
          return rapporta.Ended();
        },
        10000);
    return rapporta.Ended() && !box;
  }
  // Clicks "保存" and waits for the save dialog.
  static HWND OpenSaveDialog(RapportaProcess& rapporta, HWND form) {
    ClickSave(form);
    return DialogOf(rapporta, kSaveTitle.c_str());
  }
  // The host closes and one more line arrives while a modal window is open:
  // the program must wait for it.
  void CloseWithOneMoreLine(RapportaProcess& rapporta, const char16_t* line) {
    Check(standin_.Control().RaiseClosing(), "RaiseClosing");
    standin_.Inject(line);
    EXPECT_FALSE(rapporta.Ended(300));
  }
  // Once the modal work is done: the file holds everything, then it ends.
  void ExpectSavedThenEnded(RapportaProcess& rapporta, const std::wstring& path,
                            const std::wstring& lastLine) {
    EXPECT_TRUE(rapporta.Ended(10000));
    EXPECT_EQ(WithoutTimes(Widened(test::ReadBytes(path))),
              std::wstring(kBefore) + L"\r\n\r\n[00:00]" + lastLine);
    ExpectNothingHeld();
  }
  // What the host holds of the program once it is gone.
  void ExpectNothingHeld() {
    EXPECT_TRUE(WaitFor([&] { return standin_.SinkCount() == 0; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return standin_.HostAppsAlive() == 0; }, 5000));
    EXPECT_EQ(standin_.StationsAlive(), 0);
  }

  static constexpr wchar_t kBefore[] = L"\r\n\r\n[00:00]before";
  ComApartment apartment_;
  StandinSession standin_;
  test::TempFolder folder_;
};

TEST_F(Faults, AVanishedHostFailsTheSendButTheLogStaysAndCanBeSaved) {
  Rapporta rapporta;
  HWND form = Start(rapporta);
  ASSERT_TRUE(form);
  const std::wstring log = TextOf(ControlOf(form, ui::lChat));
  Check(standin_.Control().Vanish(), "Vanish");
  ASSERT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);

  SendLine(form, L"into the void");
  HWND box = DialogOf(rapporta, L"Rapporta");
  ASSERT_TRUE(box);
  EXPECT_NE(BoxText(box).find(L"HostApp.SendChat"), std::wstring::npos) << BoxText(box);
  Press(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(TextOf(ControlOf(form, ui::lChat)), log);
  EXPECT_EQ(TextOf(ControlOf(form, ui::sInput)), L"into the void");

  HWND dialog = OpenSaveDialog(rapporta, form);
  ASSERT_TRUE(dialog);
  const std::wstring path = folder_.Path(L"without the host.txt");
  ChooseFile(dialog, path);
  EXPECT_TRUE(WaitFor([&] { return Widened(test::ReadBytes(path)) == log; }));
  EXPECT_TRUE(Responsive(form));

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(rapporta.Ended(10000));
}

TEST_F(Faults, ClosingDuringStartupEndsTheProgramWithoutShowingAnything) {
  Check(standin_.Control().RaiseClosingInNextCall(), "RaiseClosingInNextCall");
  Rapporta rapporta;
  bool shown = false;
  WaitFor(
      [&] {
        shown = shown || rapporta.AnyVisibleWindow();
        return rapporta.Ended();
      },
      15000);
  ASSERT_TRUE(rapporta.Ended());
  EXPECT_FALSE(shown);
  DWORD code = 1;
  GetExitCodeProcess(rapporta.Handle(), &code);
  EXPECT_EQ(code, 0u);
  ExpectNothingHeld();
}

TEST_F(Faults, ClosingInTheMiddleOfASendLetsTheSendFinishThenEnds) {
  Rapporta rapporta;
  HWND form = Start(rapporta);
  ASSERT_TRUE(form);
  Check(standin_.Control().RaiseClosingInNextCall(), "RaiseClosingInNextCall");
  SendLine(form, L"last words");
  EXPECT_TRUE(EndsWithoutAnyBox(rapporta));
  EXPECT_EQ(standin_.SentLines(), std::vector<Text>{u"last words"});
  ExpectNothingHeld();
}

TEST_F(Faults, ClosingWhileTheSaveDialogIsOpenSavesEverythingThenEnds) {
  Rapporta rapporta;
  HWND form = Start(rapporta);
  ASSERT_TRUE(form);
  HWND dialog = OpenSaveDialog(rapporta, form);
  ASSERT_TRUE(dialog);
  CloseWithOneMoreLine(rapporta, u"while the dialog is open");
  EXPECT_TRUE(IsWindowVisible(dialog));

  const std::wstring path = folder_.Path(L"closing.txt");
  ChooseFile(dialog, path);
  ExpectSavedThenEnded(rapporta, path, L"while the dialog is open");
}

TEST_F(Faults, ClosingDuringTheOverwriteQuestionSavesEverythingThenEnds) {
  const std::wstring path = folder_.Path(L"existing.txt");
  test::WriteBytes(path, "old");
  Rapporta rapporta;
  HWND form = Start(rapporta);
  ASSERT_TRUE(form);
  HWND dialog = OpenSaveDialog(rapporta, form);
  ASSERT_TRUE(dialog);
  ChooseFile(dialog, path);
  HWND question = DialogOf(rapporta, L"Rapporta");
  ASSERT_TRUE(question);
  EXPECT_EQ(BoxText(question), kQuestion);
  CloseWithOneMoreLine(rapporta, u"during the question");
  EXPECT_EQ(test::ReadBytes(path), "old");

  Press(question, IDYES);
  ExpectSavedThenEnded(rapporta, path, L"during the question");
}

TEST_F(Faults, OnceRapportaHasClosedTheHostHoldsNothingOfIt) {
  Rapporta rapporta;
  HWND form = ConnectedForm(rapporta);
  ASSERT_TRUE(form);
  SendLine(form, L"73");
  ASSERT_TRUE(WaitFor([&] { return standin_.SentLines().size() == 1; }));
  standin_.Inject(u"bye");
  EXPECT_EQ(standin_.SinkCount(), 1);
  PostMessageW(form, WM_CLOSE, 0, 0);
  ASSERT_TRUE(rapporta.Ended(10000));
  ExpectNothingHeld();
}

}  // namespace
}  // namespace rapporta::reliability
