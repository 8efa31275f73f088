#include "chat/key_rules.h"

#include <gtest/gtest.h>

namespace rapporta::chat {
namespace {

// What the box then does with the characters those keys type (only a
// passed Ctrl+C's copies) is the real box's, window/sending_test.cpp.
TEST(KeyRules, LogBoxLetsOnlyCopyAndTheWindowsAltKeysThroughAndEscFocusesTheInput) {
  EXPECT_EQ(LogKeyDown(kKeyC, kCtrlBit), LogKeyAction::Pass);
  EXPECT_EQ(LogKeyDown(kKeyC, kCtrlBit | kShiftBit), LogKeyAction::Cancel);
  EXPECT_EQ(LogKeyDown(kKeyEscape, 0), LogKeyAction::FocusInput);
  EXPECT_EQ(LogKeyDown(kKeyEscape, kShiftBit), LogKeyAction::FocusInput);
  EXPECT_EQ(LogKeyDown(kKeyC, 0), LogKeyAction::Cancel);
  // Letters, Delete, arrows, pages, Ctrl, V, X, Enter, Backspace, alone and with Ctrl.
  for (int key : {65, 46, 37, 38, 39, 40, 33, 34, 17, 86, 88, 13, 8}) {
    EXPECT_EQ(LogKeyDown(key, 0), LogKeyAction::Cancel) << key;
    EXPECT_EQ(LogKeyDown(key, kCtrlBit), LogKeyAction::Cancel) << key;
  }
  // With Alt a system key is the window's (F4, Space, Tab, Esc, Alt itself),
  // except Alt+Backspace, the box's undo; F10 and Shift+F10 would open the
  // box's own menu.
  for (int key : {115, 32, 9, 27, 18}) EXPECT_EQ(LogSysKeyDown(key, kAltBit), LogKeyAction::Pass);
  EXPECT_EQ(LogSysKeyDown(8, kAltBit), LogKeyAction::Cancel);
  EXPECT_EQ(LogSysKeyDown(121, 0), LogKeyAction::Cancel);
  EXPECT_EQ(LogSysKeyDown(121, kShiftBit), LogKeyAction::Cancel);
}

}  // namespace
}  // namespace rapporta::chat
