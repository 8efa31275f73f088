// How the queued log reaches its box: trims cut the box's head in place, and
// a budget spreads a long text over several flushes, never splitting a line
// break or a character, with the text always the rule's.
#include <gtest/gtest.h>

#include <random>

#include "chat/chat_log.h"
#include "chat/log_rule.h"

namespace rapporta::chat {
namespace {

class InPlaceBox : public LogBox {
 public:
  Text text;
  int replaces = 0;
  int inPlace = 0;
  std::vector<std::size_t> written;  // characters handed over per call
  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override {
    ++replaces;
    written.push_back(t.size());
    text = Text(t);
  }
  void Append(TextView t) override {
    written.push_back(t.size());
    text.append(t);
  }
  void DropFrontAndAppend(std::size_t count, TextView t) override {
    ++inPlace;
    written.push_back(t.size());
    text.erase(0, count).append(t);
  }
};

Text Lines(std::size_t length) {
  Text text;
  while (text.size() < length) text.append(u"\r\n\r\n[12:34]JA1XYZ>hello there");
  text.resize(length);
  return text;
}

TEST(ChatLogFlush, TrimAtTheCapCutsTheHeadInPlaceAndReplacesOnlyWhenTheQueueIsCut) {
  InPlaceBox box;
  ChatLog log(box);
  box.text = Lines(59990);
  Text expected = box.text;
  const Text entry = LogEntry(u"[09:05]", u"one more line");
  AppendEntry(expected, entry);
  log.Add(entry);
  log.Flush();
  EXPECT_EQ(box.text, expected);
  EXPECT_EQ(box.inPlace, 1);
  EXPECT_EQ(box.replaces, 0);
  ASSERT_EQ(box.written.size(), 1u);
  EXPECT_EQ(box.written[0], entry.size()) << "only the new entry is handed over";

  // An entry that alone outgrows the trim's tail leaves nothing of the old
  // text: the box is replaced.
  const Text huge = LogEntry(u"", Lines(55000));
  AppendEntry(expected, huge);
  log.Add(huge);
  log.Flush();
  EXPECT_EQ(box.text, expected);
  EXPECT_EQ(box.replaces, 1);
}

TEST(ChatLogFlush, BudgetSpreadsALongEntryAndNeverSplitsALineBreakOrACharacter) {
  InPlaceBox box;
  ChatLog log(box);
  // Positions in the entry, after its four-character separator.
  Text text(12000, u'x');
  text[4999 - 4] = u'\r';  // a CR LF across the first cut, at 5000
  text[5000 - 4] = u'\n';
  text[9998 - 4] = u'\xD83D';  // a surrogate pair across the second, at 9999
  text[9999 - 4] = u'\xDE00';
  const Text entry = LogEntry(u"", text);
  log.Add(entry);
  log.Flush(5000);
  ASSERT_TRUE(log.HasPending());
  EXPECT_EQ(box.text.size(), 4999u) << "the cut moves before the CR LF";
  log.Flush(5000);
  EXPECT_EQ(box.text.size(), 9998u) << "and before the surrogate pair";
  // Reading completes it.
  EXPECT_EQ(log.Read(), entry);
  EXPECT_FALSE(log.HasPending());
}

TEST(ChatLogFlush, RandomRunWithBudgetsGivesTheRulesText) {
  std::mt19937 random(1206);
  InPlaceBox box;
  ChatLog log(box);
  Text expected;
  const Text alphabet = u"ab\r\n\xD83D\xDE00 ";
  for (int i = 0; i < 4000; ++i) {
    Text text;
    const std::size_t length = random() % 10 == 0 ? random() % 20000 : random() % 80;
    for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    const Text entry = LogEntry(random() % 2 ? u"[12:34]" : u"", text);
    AppendEntry(expected, entry);
    log.Add(entry);
    if (random() % 5 == 0) {
      const std::size_t budget = 1 + random() % 6000;
      log.Flush(budget);
      // Never more than the budget (two characters when it is smaller), and
      // the box plus the queue is always the rule's text.
      EXPECT_LE(box.written.back(), std::max<std::size_t>(budget, 2));
    }
    if (random() % 300 == 0) {
      ASSERT_EQ(log.Read(), expected) << "at entry " << i;
    }
    if (random() % 500 == 0) {
      log.Clear();
      expected.clear();
    }
  }
  EXPECT_EQ(log.Read(), expected);
  EXPECT_GT(box.inPlace, 20) << "the run should have trimmed in place many times";
}

}  // namespace
}  // namespace rapporta::chat
