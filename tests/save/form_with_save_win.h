#pragma once
// The real window with the real save command, for tests that click "保存".
#include <objbase.h>

#include <initializer_list>

#include "save/save_command_win.h"
#include "save/save_fixture_win.h"
#include "window/form_fixture.h"

namespace rapporta::test {

class FormWithSaveTest : public FormTest {
 protected:
  // Starts the window in front, with these lines received.
  void StartWithLines(std::initializer_list<TextView> lines) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ui::Form1Services services = Services();
    services.save = save::B_Save_Click;
    form = std::make_unique<ui::Form1>(std::move(services));
    ASSERT_EQ(form->Start(SW_SHOWNORMAL), ui::StartResult::Running);
    ASSERT_TRUE(MakeForeground(Window()));
    for (TextView line : lines) form->ChatTextReceived(line);
    Pump();
  }
  void TearDown() override {
    form.reset();
    CoUninitialize();
  }
  SeenDialogs ClickSave(const UserAnswers& answers) {
    return RunAsUser(answers, Window(), [&] { Click(ui::B_Save); });
  }

  TempFolder folder;
};

}  // namespace rapporta::test
