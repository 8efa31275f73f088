#pragma once
// A test with the stand-in host and rapporta.exe connected to it; the
// program is closed as the user closes it when the test ends.
#include <gtest/gtest.h>

#include <string>

#include "outside_win.h"

namespace rapporta::reliability {

using testing::Check;
using testing::StandinSession;
using testing::WaitFor;

class RunningRapporta : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = ConnectedForm(rapporta_);
    ASSERT_TRUE(form_);
    log_ = ControlOf(form_, ui::lChat);
  }
  // Closed as the user does: a program killed instead leaves the host
  // calling a client that is gone.
  void TearDown() override {
    if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(rapporta_.Ended(10000));
  }
  // Waits until the box shows expected (times aside).
  bool Shows(const std::wstring& expected, DWORD timeout = 20000) {
    return WaitFor([&] { return WithoutTimes(TextOf(log_)) == expected; }, timeout);
  }

  ComApartment apartment_;
  StandinSession standin_;
  Rapporta rapporta_;
  HWND form_ = nullptr;
  HWND log_ = nullptr;
};

}  // namespace rapporta::reliability
