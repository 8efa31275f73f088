#pragma once
// The real window with the real save command, one received line in its log,
// and a user who answers the dialog and the boxes.
#include <string>

#include "save/form_with_save_win.h"

namespace rapporta::reliability {

using test::Typing;

class SavingForm : public test::FormWithSaveTest {
 protected:
  void SetUp() override { StartWithLines({u"hello"}); }
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
};

}  // namespace rapporta::reliability
