// Received text in the real log box: a long random run against the log rule
// (the time prefix, the check box, clear and trimming included), whatever
// way the window brings entries into the box (in place, trimmed at its head,
// in pieces, over several turns).
#include <random>

#include "chat/log_box_win.h"
#include "chat/log_rule.h"
#include "form_fixture.h"

namespace rapporta::test {
namespace {

class Log : public FormTest {
 protected:
  Text BoxText() { return FromWide(LogBoxText()); }
};

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

// The check box switches the prefix of later entries; clear empties the log,
// also of entries still queued. Both hand the focus back to the input.
TEST_F(Log, RandomRunWithTrimsClearsAndTheCheckBoxLeavesExactlyTheRulesText) {
  StartForm();
  std::mt19937 random(61206);
  Text expected;
  bool showTime = true;
  int checks = 0, trims = 0, clears = 0;
  const auto click = [&](ui::ControlIndex index) {
    SetFocus(Control(lChat));
    Click(index);
    EXPECT_EQ(GetFocus(), Control(sInput));
  };
  for (int i = 0; i < 600; ++i) {
    now = {static_cast<int>(random() % 24), static_cast<int>(random() % 60)};
    const Text text = RandomText(random);
    const std::size_t before = expected.size();
    chat::AppendEntry(expected, chat::LogEntry(chat::TimePrefix(showTime, now), text));
    trims += expected.size() < before;
    Receive(text);
    if (random() % 200 == 0) {
      click(B_Clear);
      expected.clear();
      ++clears;
    }
    if (random() % 60 == 0) {
      click(C_Time);
      showTime = !showTime;
    }
    if (random() % 8 == 0) {
      // However many entries queued up, one turn of the loop (or a few, for
      // a long text) brings the box to the rule's text.
      ASSERT_EQ(BoxText(), expected) << "after entry " << i;
      ++checks;
    }
  }
  EXPECT_EQ(BoxText(), expected);
  EXPECT_EQ(form->LogText(), expected);
  EXPECT_GT(checks, 50);
  EXPECT_GT(trims, 2);
  EXPECT_GT(clears, 1);
  // The caret is at the end.
  DWORD start = 0, end = 0;
  SendMessageW(Control(lChat), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, expected.size());
  EXPECT_EQ(end, start);
}

TEST_F(Log, HugeLineReachesTheBoxWholeAndStaysWholeThroughAResize) {
  StartForm();
  Click(C_Time);  // no prefix
  Receive(u"before");
  Pump();
  // 50000 characters without a break reach the box over a few turns;
  // reading the log never sees half an entry.
  Text huge(50000, u'y');
  huge[20000] = u'\xD83D';
  huge[20001] = u'\xDE00';
  Receive(huge);
  const Text withHuge = u"\r\n\r\nbefore\r\n\r\n" + huge, all = withHuge + u"\r\n\r\nafter";
  EXPECT_EQ(form->LogText(), withHuge);
  Receive(u"after");
  EXPECT_EQ(BoxText(), all);
  // The end is in view.
  EXPECT_GT(SendMessageW(Control(lChat), EM_GETFIRSTVISIBLELINE, 0, 0), 100);
  // A new width wraps the huge line again; the text stays as it was.
  RECT frame{};
  GetWindowRect(Window(), &frame);
  SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left - 60, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(BoxText(), all);
  // A resize that fails while the text is out of the box puts it back.
  chat::EditLogBox box(Control(lChat));
  EXPECT_THROW(box.Refit([] { throw Failure("SetWindowPos", 5); }), Failure);
  EXPECT_EQ(FromWide(WindowText(Control(lChat))), all);
}

}  // namespace
}  // namespace rapporta::test
