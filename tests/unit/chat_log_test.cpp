// How the queued log reaches its box: a burst as one append, a trim as a cut
// of the box's head in place, a long text in budgeted pieces. That the text
// always stays the rule's, whatever comes, is the fuzzer's job.
#include "chat/chat_log.h"

#include <gtest/gtest.h>

#include "chat/log_rule.h"

namespace rapporta::chat {
namespace {

// A text box that counts what it was asked to do.
class RecordingBox : public LogBox {
 public:
  Text text;
  int appends = 0;
  int replaces = 0;
  int inPlace = 0;
  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override {
    ++replaces;
    text = Text(t);
  }
  void Append(TextView t) override {
    ++appends;
    text.append(t);
  }
  void DropFrontAndAppend(std::size_t count, TextView t) override {
    ++inPlace;
    text.erase(0, count).append(t);
  }
};

Text Lines(std::size_t length) {
  Text text;
  while (text.size() < length) text.append(u"\r\n\r\n[12:34]JA1XYZ>hello there");
  text.resize(length);
  return text;
}

TEST(ChatLog, ABurstWaitsForTheFlushAndReachesTheBoxAsOneAppend) {
  RecordingBox box;
  ChatLog log(box);
  for (int i = 0; i < 100; ++i) log.Add(LogEntry(u"", u"line"));
  EXPECT_EQ(box.text, u"");
  log.Flush();
  EXPECT_EQ(box.appends, 1);
  EXPECT_EQ(box.text.size(), 100u * 8u);
  // A flood never piles up: past what the box could hold it is flushed.
  for (int i = 0; i < 10; ++i) log.Add(LogEntry(u"", Text(30000, u'x')));
  EXPECT_LE(box.text.size(), kLogLimit);
  EXPECT_GT(box.appends + box.replaces + box.inPlace, 1);
}

TEST(ChatLog, ATrimCutsTheHeadInPlaceAndReplacesOnlyWhenTheQueueIsCut) {
  RecordingBox box;
  ChatLog log(box);
  box.text = Lines(59990);
  Text expected = box.text;
  for (const Text& entry : {LogEntry(u"[09:05]", u"one more line"), LogEntry(u"", Lines(55000))}) {
    AppendEntry(expected, entry);
    log.Add(entry);
    log.Flush();
    EXPECT_EQ(box.text, expected);
  }
  EXPECT_EQ(box.inPlace, 1);
  EXPECT_EQ(box.replaces, 1) << "the second entry alone outgrows the trim's tail";
}

TEST(ChatLog, ABudgetSpreadsALongEntryAndNeverSplitsALineBreakOrACharacter) {
  RecordingBox box;
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
  EXPECT_EQ(box.text.size(), 4999u) << "the cut moves before the CR LF";
  log.Flush(5000);
  EXPECT_EQ(box.text.size(), 9998u) << "and before the surrogate pair";
  for (std::size_t budget : {1, 2}) {
    log.Flush(budget);  // always some progress, never half a pair
    EXPECT_EQ(box.text.size(), budget == 1 ? 10000u : 10002u);
  }
  EXPECT_EQ(log.Read(), entry);
  EXPECT_FALSE(log.HasPending());
}

}  // namespace
}  // namespace rapporta::chat
