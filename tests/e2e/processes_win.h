#pragma once
// The tests' side of the real programs: rapporta.exe as a person drives it
// (controls reached by id, dialogs answered), the host's events as a client
// receives them, and the fixtures that start the programs.
#include <gtest/gtest.h>

#include <regex>

#include "common/com_apartment_win.h"
#include "common/text_win.h"
#include "host/host.h"
#include "programs_win.h"
#include "support/user_win.h"
#include "ui/form_controls_win.h"

namespace rapporta::test {

inline HWND ControlOf(HWND form, ui::ControlIndex index) {
  return GetDlgItem(form, ui::kFirstControlId + static_cast<int>(index));
}
inline void SetText(HWND window, const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// Types text into the input and clicks Send (posted: the test goes on).
inline void SendLine(HWND form, const std::wstring& text) {
  SetText(ControlOf(form, ui::sInput), text);
  PostMessageW(ControlOf(form, ui::B_Send), BM_CLICK, 0, 0);
}
inline std::wstring BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xffff)); }
inline void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
// The log box's text with every time prefix "[HH:MM]" written as "[00:00]":
// received texts that hold no "[" make this exact.
inline std::wstring LogOf(HWND form) {
  static const std::wregex time(L"\\[[0-9]{2}:[0-9]{2}\\]");
  return std::regex_replace(WindowText(ControlOf(form, ui::lChat)), time, L"[00:00]");
}

// The host's events as a client receives them; a text "throw" fails.
struct EventRecorder : host::HostEvents {
  void ChatTextReceived(TextView text) override {
    if (text == u"throw") throw Failure("handler", static_cast<std::int32_t>(0x80041111));
    events.push_back(Text(text));
  }
  void Closing() override { events.push_back(u"<closing>"); }
  void SentLate(TextView, TextView line) override { events.push_back(u"<late>" + Text(line)); }
  std::vector<Text> events;
};

// A test with the stand-in host, from this test's own COM apartment.
class StandinTest : public ::testing::Test {
 protected:
  ComApartment apartment_;
  StandinSession standin_;
};

// rapporta.exe connected to the stand-in host, closed as the user closes it
// when the test ends.
class RunningRapporta : public StandinTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_ = rapporta_.ConnectedForm());
  }
  void TearDown() override {
    PostMessageW(form_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(rapporta_.Ended(10000));
  }
  std::wstring Log() const { return LogOf(form_); }
  // Waits until the box shows expected (times aside).
  bool Shows(const std::wstring& expected) {
    return PumpUntil([&] { return Log() == expected; }, 60s);
  }
  Rapporta rapporta_;
  HWND form_ = nullptr;
};

}  // namespace rapporta::test
