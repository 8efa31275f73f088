// Received text in the real log box: a long random run against the log rule
// (the time prefix, the check box, clear and trimming included), whatever
// way the window brings entries into the box (in place, trimmed at its head,
// in pieces, over several turns), and through a resize.
#include <random>

#include "chat/log_rule.h"
#include "form_fixture.h"

namespace rapporta::test {
namespace {

using Log = FormTest;

// Mostly chat-sized lines; now and then a long paragraph, a line far too
// long to wrap quickly, line breaks of its own, a character outside the
// basic plane, or a NUL (which the box cannot hold).
Text RandomText(std::mt19937& random) {
  static const Text alphabet(u"ab c\r\n\xD83D\xDE00\x65E5\0", 10);
  const unsigned kind = random() % 40;
  if (kind == 4) {
    Text unbroken(8000 + random() % 8000, u'x');
    for (char16_t& c : unbroken) c = static_cast<char16_t>(u'a' + random() % 26);
    return unbroken;
  }
  Text text(kind < 4 ? random() % 3000 : random() % 90, u' ');
  for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

// A line received while start-up connects has no time prefix. The check
// box switches the prefix of later entries; clear empties the log, also of
// entries still queued. Both hand the focus back to the input.
TEST_F(Log, RandomRunWithTrimsClearsAndTheCheckBoxLeavesExactlyTheRulesText) {
  host->duringCreate = [&] { Receive(u"early"); };
  StartForm();
  std::mt19937 random(61206);
  Text expected = u"\r\n\r\nearly";
  bool showTime = true;
  int trims = 0;
  // Once, 50000 characters without a break, which reach the box in pieces
  // and outgrow the tail a trim keeps.
  const Text huge(50000, u'y');
  const auto click = [&](ui::ControlIndex index) {
    SetFocus(Control(lChat));
    Click(index);
    EXPECT_EQ(GetFocus(), Control(sInput));
  };
  for (int i = 0; i < 600; ++i) {
    now = {static_cast<int>(random() % 24), static_cast<int>(random() % 60)};
    const Text text = i == 550 ? huge : RandomText(random);
    const std::size_t before = expected.size();
    chat::AppendEntry(expected, chat::LogEntry(chat::TimePrefix(showTime, now), text));
    trims += expected.size() < before;
    Receive(text);
    if (i % 250 == 249) {
      click(B_Clear);
      expected.clear();
    }
    if (random() % 60 == 0) {
      click(C_Time);
      showTime = !showTime;
    }
    if (i == 550 || random() % 8 == 0) {
      // Reading the log never sees half an entry. However many entries
      // queued up, one turn of the loop (or a few, for a long text) brings
      // the box to the rule's text.
      ASSERT_EQ(form->LogText(), expected) << "after entry " << i;
      ASSERT_EQ(FromWide(LogBoxText()), expected) << "after entry " << i;
    }
  }
  EXPECT_EQ(FromWide(LogBoxText()), expected);
  EXPECT_GT(trims, 2);
  // The caret is at the end, and the end in view. (A log is shorter than
  // 65536 characters, the most the packed answer holds.)
  EXPECT_EQ(static_cast<DWORD>(SendMessageW(Control(lChat), EM_GETSEL, 0, 0)),
            MAKELONG(expected.size(), expected.size()));
  const LRESULT lines = SendMessageW(Control(lChat), EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(SendMessageW(Control(lChat), EM_GETFIRSTVISIBLELINE, 0, 0), lines - 40);
  // A new width wraps the text again; it stays as it was.
  RECT frame{};
  GetWindowRect(Window(), &frame);
  SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left - 60, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(FromWide(LogBoxText()), expected);
}

}  // namespace
}  // namespace rapporta::test
