#pragma once
// The real Form1 in the test process, with an in-process host, a fixed clock
// (14:07), a single-instance name of the test's own and the real save
// command; a user on a thread of its own answers every dialog.
#include <objbase.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text_win.h"
#include "save/save_command_win.h"
#include "support/fake_host.h"
#include "support/files_win.h"
#include "support/keyboard_win.h"
#include "support/pump_win.h"
#include "support/user_win.h"
#include "ui/form1_win.h"

namespace rapporta::test {

using enum ui::ControlIndex;  // lChat, sInput, B_Send, ...

// Of this test process alone: tests in parallel keep out of each other's way.
inline std::wstring TestInstanceName() {
  return L"Local\\RapportaTest." + std::to_wstring(GetCurrentProcessId());
}

// Whether an edit box this process creates is the common controls' (version
// 6, which the program's manifest asks for) rather than user32's older one.
// Wine's version 6 calls itself 5.81, so the box's own code tells.
inline bool ShippedEditControl() {
  const HWND edit =
      CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HMODULE owner = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), &owner);
  DestroyWindow(edit);
  return owner != nullptr && owner == GetModuleHandleW(L"comctl32.dll");
}

// Whether this thread is in one of the system's modal loops (GUI_IN*).
inline bool InSystemLoop(DWORD flag) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  return GetGUIThreadInfo(GetCurrentThreadId(), &gui) && (gui.flags & flag) != 0;
}

class FormTest : public ::testing::Test {
 public:  // for the rows of tables, too
  // COM for the save command.
  void SetUp() override {
    // The program's own manifest is embedded (rapporta_embed_manifest): the
    // window's controls are the ones users get.
    ASSERT_TRUE(ShippedEditControl());
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    form.reset();
    CoUninitialize();
  }
  ui::StartResult Start() {
    form = std::make_unique<ui::Form1>(ui::Form1Services{
        FakeHostFactory(host), save::B_Save_Click, [this] { return now; }, TestInstanceName()});
    const ui::StartResult result = form->Start(SW_SHOWNORMAL);
    Pump();
    return result;
  }
  void StartForm() { ASSERT_EQ(Start(), ui::StartResult::Running); }
  void StartInFront() {  // for real keyboard input
    StartForm();
    ASSERT_TRUE(MakeForeground(Window()));
  }
  HWND Window() const { return form->Window(); }
  HWND Control(ui::ControlIndex index) const { return form->Control(index); }
  // The log box's own text, once every queued entry has reached it.
  std::wstring LogBoxText() {
    EXPECT_TRUE(PumpUntil([&] { return !form->LogPending(); }));
    return WindowText(Control(lChat));
  }
  void Receive(TextView text) { host->events->ChatTextReceived(text); }
  void Pump() { PumpPending(Window()); }
  bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    return test::PumpUntil(condition, timeout, Window());
  }
  void Click(ui::ControlIndex index) {
    SendMessageW(Control(index), BM_CLICK, 0, 0);
    Pump();
  }
  // As a right click in the log box does.
  void OpenLogMenu() {
    RECT box{};
    GetWindowRect(Control(lChat), &box);
    PostMessageW(Control(lChat), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(lChat)),
                 MAKELPARAM(box.left + 20, box.top + 20));
  }
  // Clicks "保存" with the user answering so; what the user saw.
  std::vector<Shown> Save(Answer answer) {
    user.Set(std::move(answer));
    Click(B_Save);
    return user.Take();
  }

  std::shared_ptr<FakeHostState> host = std::make_shared<FakeHostState>();
  chat::LocalTime now{14, 7};
  std::unique_ptr<ui::Form1> form;
  TempFolder folder;
  User user;
};

}  // namespace rapporta::test
