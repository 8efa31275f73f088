#include "chat/key_rules.h"

#include <gtest/gtest.h>

namespace rapporta::chat {
namespace {

TEST(KeyRules, LogBoxLetsOnlyCopyThroughAndEscFocusesTheInput) {
  EXPECT_EQ(LogKeyDown(kKeyC, kCtrlBit), LogKeyAction::Pass);
  EXPECT_EQ(LogKeyDown(kKeyC, kCtrlBit | kShiftBit), LogKeyAction::Cancel);
  EXPECT_EQ(LogKeyDown(kKeyC, 0), LogKeyAction::Cancel);
  EXPECT_EQ(LogKeyDown(kKeyEscape, 0), LogKeyAction::FocusInput);
  EXPECT_EQ(LogKeyDown(kKeyEscape, kShiftBit), LogKeyAction::FocusInput);
  // Letters, Delete, arrows, pages, Ctrl, V, X, Enter, Backspace.
  for (int key : {65, 46, 37, 38, 39, 40, 33, 34, 17, 86, 88, 13, 8}) {
    EXPECT_EQ(LogKeyDown(key, 0), LogKeyAction::Cancel) << key;
    EXPECT_EQ(LogKeyDown(key, kCtrlBit), LogKeyAction::Cancel) << key;
  }
  // System keys: with Alt they are the window's (F4, Space, Tab, Esc), except
  // Alt+Backspace; F10 with or without Shift is the box's, and cancelled.
  for (int key : {115, 32, 9, 27}) {
    EXPECT_EQ(LogSysKeyDown(key, kAltBit), LogKeyAction::Pass) << key;
  }
  EXPECT_EQ(LogSysKeyDown(8, kAltBit), LogKeyAction::Cancel);
  EXPECT_EQ(LogSysKeyDown(121, 0), LogKeyAction::Cancel);
  EXPECT_EQ(LogSysKeyDown(121, kShiftBit), LogKeyAction::Cancel);
  EXPECT_TRUE(LogKeepsChar(kCopyChar, true));
  EXPECT_FALSE(LogKeepsChar(kCopyChar, false)) << "Ctrl+Shift+C types U+0003 too";
  for (char16_t c : {u'a', u'\r', u'\x16', u'\x18', u'\x1a', u'\x1b', u'\b', u'あ'}) {
    EXPECT_FALSE(LogKeepsChar(c, true)) << static_cast<int>(c);
  }
}

TEST(KeyRules, TimeSwitchIsOnWhenCheckedOrGrayed) {
  EXPECT_FALSE(ShowTimeFromCheck(0));
  EXPECT_TRUE(ShowTimeFromCheck(1));
  EXPECT_TRUE(ShowTimeFromCheck(2));
}

}  // namespace
}  // namespace rapporta::chat
