// Received text in the real log box: the time prefix, the check box, clear,
// trimming, and a long random run against the log rule, whatever way the
// window brings entries into the box (in place, trimmed at its head, in
// pieces, over several turns).
#include <random>

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
  EXPECT_GT(SendMessageW(Control(lChat), EM_GETFIRSTVISIBLELINE, 0, 0), 100);
}

// Mostly chat-sized lines; now and then a long paragraph, a line far too
// long to wrap quickly, line breaks of its own, or a character outside the
// basic plane.
Text RandomText(std::mt19937& random) {
  static const Text alphabet = u"ab c\r\n\xD83D\xDE00\x65E5";
  const unsigned kind = random() % 40;
  std::size_t length = random() % 90;
  if (kind < 4) length = random() % 3000;
  if (kind == 4) {
    const Text letters = u"abcdefghijklmnopqrstuvwxyz";
    Text unbroken(8000 + random() % 8000, u'x');
    for (char16_t& c : unbroken) c = letters[random() % letters.size()];
    return unbroken;
  }
  Text text;
  for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
  return text;
}

TEST_F(Log, RandomRunWithTrimsLeavesExactlyTheRulesText) {
  StartForm();
  std::mt19937 random(61206);
  Text expected;
  int checks = 0;
  for (int i = 0; i < 600; ++i) {
    now = {static_cast<int>(random() % 24), static_cast<int>(random() % 60)};
    const Text text = RandomText(random);
    chat::AppendEntry(expected, chat::LogEntry(chat::TimePrefix(form->ShowTime(), now), text));
    host->events->ChatTextReceived(text);
    if (random() % 200 == 0) {
      Click(B_Clear);
      expected.clear();
    }
    if (random() % 60 == 0) Click(C_Time);
    if (random() % 8 == 0) {
      // However many entries queued up, one turn of the loop (or a few, for
      // a long text) brings the box to the rule's text.
      ASSERT_EQ(FromWide(LogBoxText()), expected) << "after entry " << i;
      ++checks;
    }
  }
  EXPECT_EQ(FromWide(LogBoxText()), expected);
  EXPECT_EQ(form->LogText(), expected);
  EXPECT_GT(checks, 50);

  // The caret is at the end and the end is in view.
  DWORD start = 0, end = 0;
  SendMessageW(Control(lChat), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, expected.size());
  EXPECT_EQ(end, start);
}

TEST_F(Log, HugeLineReachesTheBoxWhileTheWindowKeepsAnswering) {
  StartForm();
  Click(C_Time);  // no prefix
  host->events->ChatTextReceived(u"before");
  Pump();
  // 50000 characters without a break: the box gets them over a few turns.
  Text huge(50000, u'y');
  huge[20000] = u'\xD83D';
  huge[20001] = u'\xDE00';
  const int beforeLength = GetWindowTextLengthW(Control(lChat));
  host->events->ChatTextReceived(huge);
  // One message at a time (the update may wait for its timer), until the
  // box has changed once.
  MSG message;
  while (GetWindowTextLengthW(Control(lChat)) == beforeLength &&
         GetMessageW(&message, nullptr, 0, 0) > 0) {
    DispatchMessageW(&message);
  }
  const auto firstTurn = static_cast<std::size_t>(GetWindowTextLengthW(Control(lChat)));
  EXPECT_GT(firstTurn, static_cast<std::size_t>(beforeLength));
  EXPECT_LT(firstTurn, 10u + 4u + huge.size()) << "one turn should not take it all";
  // Reading the log never sees half an entry.
  EXPECT_EQ(form->LogText(), u"\r\n\r\nbefore\r\n\r\n" + huge);
  EXPECT_EQ(FromWide(LogBoxText()), u"\r\n\r\nbefore\r\n\r\n" + huge);
  host->events->ChatTextReceived(u"after");
  const Text all = u"\r\n\r\nbefore\r\n\r\n" + huge + u"\r\n\r\nafter";
  EXPECT_EQ(FromWide(LogBoxText()), all);

  // A new width wraps the huge line again; the text stays as it was.
  const LONG widthBefore = ControlRect(Control(lChat)).right;
  RECT frame{};
  GetWindowRect(Window(), &frame);
  SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left - 60, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(FromWide(LogBoxText()), all);
  EXPECT_EQ(ControlRect(Control(lChat)).right, widthBefore - 60);
  EXPECT_EQ(form->LogText(), all);

  // A resize that fails while the text is out of the box puts it back.
  chat::EditLogBox box(Control(lChat));
  EXPECT_THROW(box.Refit([] { throw Failure("SetWindowPos", 5); }), Failure);
  EXPECT_EQ(FromWide(WindowText(Control(lChat))), all);
}

}  // namespace
}  // namespace rapporta::test
