#pragma once
// The real rapporta.exe driven from outside, as a person would: started,
// found by its process, its controls reached by id, its dialogs answered,
// and closed as the user closes it (ended by force only if that fails: a
// program killed leaves the host calling a client that is gone).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_win.h"
#include "standin_session_win.h"
#include "ui/layout.h"

namespace rapporta::testing {

class RapportaProcess {
 public:
  RapportaProcess();  // starts it
  RapportaProcess(const RapportaProcess&) = delete;
  RapportaProcess& operator=(const RapportaProcess&) = delete;
  ~RapportaProcess();

  HANDLE Handle() const { return process_.Get(); }
  bool Ended(DWORD waitMilliseconds = 0) const;
  // The visible top-level window of the process of class className (any
  // class when null), or null.
  HWND VisibleWindow(const wchar_t* className = L"Rapporta.Form1") const;
  // The connected window (caption written), or null within the time.
  HWND ConnectedForm() const;
  // A visible dialog (#32770) of the process titled title, within the time.
  HWND Dialog(const wchar_t* title, DWORD timeoutMs = 10000) const;

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

HWND VisibleWindowOf(DWORD process, const wchar_t* className);
// The child of parent of the class whose text is text.
HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* text);
HWND ControlOf(HWND form, ui::ControlIndex index);
// Answers a message at once: the window's thread is not stuck.
bool Responsive(HWND window);
// Types text into the input and clicks "Send" (posted: the test goes on).
void SendLine(HWND form, const wchar_t* text);
void ClickSave(HWND form);
// A message box's text.
std::wstring BoxText(HWND box);
void Press(HWND dialog, int button);
// Types a file name into the save dialog and presses its Save button.
void ChooseFile(HWND dialog, const std::wstring& path);

// The log with every time prefix "[HH:MM]" written as "[00:00]": received
// texts that hold no "[" make this exact.
std::wstring WithoutTimes(std::wstring log);
// The log rule applied to texts received in order after log, each with the
// prefix "[00:00]".
std::wstring Expected(std::wstring log, const std::vector<Text>& received);

// Pumps the test thread's messages until condition holds or timeout ends.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeout = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  return true;
}

// A test with the stand-in host, from this test's own COM apartment.
class StandinTest : public ::testing::Test {
 protected:
  // What the host holds of the program once it is gone: nothing.
  void ExpectHostHoldsNothing() {
    EXPECT_TRUE(WaitFor([&] { return standin_.SinkCount() == 0; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return standin_.HostAppsAlive() == 0; }, 5000));
    EXPECT_EQ(standin_.StationsAlive(), 0);
  }

  ComApartment apartment_;
  StandinSession standin_;
};

// rapporta.exe connected to the stand-in host, closed as the user closes it
// when the test ends.
class RunningRapporta : public StandinTest {
 protected:
  void SetUp() override {
    form_ = rapporta_.ConnectedForm();
    ASSERT_TRUE(form_);
    log_ = ControlOf(form_, ui::lChat);
  }
  void TearDown() override {
    if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(rapporta_.Ended(10000));
  }
  // Waits until the box shows expected (times aside).
  bool Shows(const std::wstring& expected, DWORD timeout = 20000) {
    return WaitFor([&] { return WithoutTimes(WindowText(log_)) == expected; }, timeout);
  }
  RapportaProcess rapporta_;
  HWND form_ = nullptr;
  HWND log_ = nullptr;
};

}  // namespace rapporta::testing
