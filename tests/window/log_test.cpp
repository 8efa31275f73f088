// Received text in the real log box: the time prefix, the check box, clear,
// and trimming.
#include "chat/log_rule.h"
#include "form_fixture.h"

namespace rapporta::test {
namespace {

using ui::B_Clear;
using ui::C_Time;
using ui::lChat;
using ui::sInput;

class Log : public FormTest {};

TEST_F(Log, ReceivedTextGetsThePrefixAndTheCheckBoxSwitchesLaterEntriesOnly) {
  StartForm();
  host->events->ChatTextReceived(u"abc");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]abc");

  Click(C_Time);
  EXPECT_EQ(SendMessageW(Control(C_Time), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(form->ShowTime());
  EXPECT_EQ(GetFocus(), Control(sInput));
  now = {9, 5};
  host->events->ChatTextReceived(u"two\r\nlines");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]abc\r\n\r\ntwo\r\nlines");

  Click(C_Time);
  EXPECT_TRUE(form->ShowTime());
  host->events->ChatTextReceived(u"");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]abc\r\n\r\ntwo\r\nlines\r\n\r\n[09:05]");

  // A grayed box counts as on.
  Click(C_Time);
  ASSERT_FALSE(form->ShowTime());
  SendMessageW(Control(C_Time), BM_SETCHECK, BST_INDETERMINATE, 0);
  SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Control(C_Time)), BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(C_Time)));
  EXPECT_TRUE(form->ShowTime());
}

TEST_F(Log, BurstReachesTheBoxInOrderWithEachEntrysOwnTime) {
  StartForm();
  for (int minute = 0; minute < 3; ++minute) {
    now = {23, minute};
    host->events->ChatTextReceived(u"m");
  }
  EXPECT_EQ(form->LogText(), u"\r\n\r\n[23:00]m\r\n\r\n[23:01]m\r\n\r\n[23:02]m");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[23:00]m\r\n\r\n[23:01]m\r\n\r\n[23:02]m");
}

TEST_F(Log, ClearEmptiesTheLogAndTheNextEntryStartsWithTheSeparator) {
  StartForm();
  host->events->ChatTextReceived(u"x");
  ASSERT_FALSE(LogBoxText().empty());
  SetFocus(Control(lChat));
  Click(B_Clear);
  EXPECT_EQ(LogBoxText(), L"");
  EXPECT_EQ(GetFocus(), Control(sInput));
  Click(B_Clear);
  EXPECT_EQ(LogBoxText(), L"");
  host->events->ChatTextReceived(u"y");
  // An entry still queued when the log is cleared goes with it.
  host->events->ChatTextReceived(u"queued");
  Click(B_Clear);
  host->events->ChatTextReceived(u"z");
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]z");
}

// Short lines: Wine lays out very long lines slowly.
Text Lines(std::size_t length) {
  Text text;
  while (text.size() < length) {
    text.append(u"0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n");
  }
  text.resize(length);
  return text;
}

TEST_F(Log, TrimmingShowsInTheRealControlAt60001ButNotAt60000) {
  StartForm();
  Click(C_Time);  // no prefix: the lengths are the separator and the text
  const Text whole = Lines(60000 - 4);
  host->events->ChatTextReceived(whole);
  const std::wstring kept = LogBoxText();
  EXPECT_EQ(kept.size(), 60000u);
  EXPECT_EQ(FromWide(kept), u"\r\n\r\n" + whole);

  host->events->ChatTextReceived(u"");  // 60004: trimmed
  Text expected = u"\r\n\r\n" + whole + u"\r\n\r\n";
  chat::TrimLog(expected);
  const std::wstring trimmed = LogBoxText();
  EXPECT_LT(trimmed.size(), 50000u);
  EXPECT_EQ(FromWide(trimmed), expected);

  Click(B_Clear);
  host->events->ChatTextReceived(Lines(60001 - 4));
  EXPECT_LT(LogBoxText().size(), 50000u);

  // The caret sits at the end, scrolled into view.
  DWORD start = 0, end = 0;
  SendMessageW(Control(lChat), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, LogBoxText().size());
  EXPECT_EQ(end, start);
  EXPECT_GT(SendMessageW(Control(lChat), EM_GETFIRSTVISIBLELINE, 0, 0), 100);
}

}  // namespace
}  // namespace rapporta::test
