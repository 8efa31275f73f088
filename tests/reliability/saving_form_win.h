#pragma once
// The real window with the real save command, one received line in its log,
// and a user who answers the dialog and the boxes.
#include <objbase.h>

#include <string>

#include "save/save_command_win.h"
#include "save/save_fixture_win.h"
#include "window/form_fixture.h"

namespace rapporta::reliability {

using test::Typing;

class SavingForm : public test::FormTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ui::Form1Services services = Services();
    services.save = save::B_Save_Click;
    form = std::make_unique<ui::Form1>(std::move(services));
    ASSERT_EQ(form->Start(SW_SHOWNORMAL), ui::StartResult::Running);
    form->ChatTextReceived(u"hello");
    Pump();
  }
  void TearDown() override {
    form.reset();
    CoUninitialize();
  }
  test::SeenDialogs ClickSave(test::UserAnswers answers) {
    return test::RunAsUser(answers, Window(), [&] { Click(ui::B_Save); });
  }
  // The question (when the file exists), then the failure report.
  test::SeenDialogs ClickSaveAndFail(const std::wstring& name, int boxes) {
    test::UserAnswers answers = Typing(name, IDYES);
    answers.boxes = boxes;
    return ClickSave(answers);
  }
  void ExpectTheWindowGoesOn(const Text& log) {
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(form->LogText(), log);
    ClickSave(Typing(folder.Path(L"elsewhere.txt")));
    EXPECT_EQ(test::ReadBytes(folder.Path(L"elsewhere.txt")), std::string(log.begin(), log.end()));
  }

  test::TempFolder folder;
};

}  // namespace rapporta::reliability
