#pragma once
// The real Form1 in the test process, with an in-process host, a fixed clock
// (14:07) and a single-instance name of the test's own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text_win.h"
#include "support/fake_host.h"
#include "support/keyboard_win.h"
#include "support/message_box_watcher_win.h"
#include "support/pump_win.h"
#include "ui/form1_win.h"

namespace rapporta::test {

inline std::wstring TestInstanceName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return L"Local\\RapportaTest." + std::to_wstring(GetCurrentProcessId()) + L"." +
         std::wstring(info->name(), info->name() + std::char_traits<char>::length(info->name()));
}

// A control's rectangle in its parent's client coordinates.
inline RECT ControlRect(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class FormTest : public ::testing::Test {
 protected:
  ui::Form1Services Services() {
    return {FakeHostFactory(host), nullptr, [this] { return now; }, TestInstanceName()};
  }
  void StartForm() {
    form = std::make_unique<ui::Form1>(Services());
    ASSERT_EQ(form->Start(SW_SHOWNORMAL), ui::StartResult::Running);
    PumpPending(form->Window());
  }
  HWND Window() const { return form->Window(); }
  HWND Control(ui::ControlIndex index) const { return form->Control(index); }
  // The log box's own text, once every queued entry has reached it.
  std::wstring LogBoxText() {
    EXPECT_TRUE(PumpUntil([&] { return !form->LogPending(); }));
    return WindowText(Control(ui::lChat));
  }
  void Pump() { PumpPending(Window()); }
  bool PumpUntil(const std::function<bool()>& condition) {
    return test::PumpUntil(condition, 5000ms, Window());
  }
  void Click(ui::ControlIndex index) {
    SendMessageW(Control(index), BM_CLICK, 0, 0);
    Pump();
  }

  std::shared_ptr<FakeHostState> host = std::make_shared<FakeHostState>();
  chat::LocalTime now{14, 7};
  std::unique_ptr<ui::Form1> form;
};

}  // namespace rapporta::test
