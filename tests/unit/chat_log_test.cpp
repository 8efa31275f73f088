// How the queued log reaches its box: a burst as one append, a trim as a cut
// of the box's head in place, a long text in budgeted pieces. That the text
// always stays the rule's, whatever comes, is the fuzzer's job.
#include "chat/chat_log.h"

#include <gtest/gtest.h>

#include <tuple>

#include "chat/log_rule.h"
#include "recording_box.h"

namespace rapporta::test {
namespace {

using namespace chat;

// After the burst the box is filled near its limit, as the mouse could, and
// the log builds on that.
TEST(ChatLog, ABurstIsOneAppendAndATrimCutsTheHeadInPlaceUnlessItReachesTheQueue) {
  RecordingBox box;
  ChatLog log(box);
  for (int i = 0; i < 100; ++i) log.Add(LogEntry(u"", u"line"));
  EXPECT_EQ(box.calls, "");
  log.Flush();
  EXPECT_EQ(box.calls, "A");
  EXPECT_EQ(box.text.size(), 100u * 8u);
  while (box.text.size() < 59990) box.text += u"\r\n" + Text(28, u'o');
  box.text.resize(59990);
  Text expected = box.text;
  // The second entry alone outgrows the trim's tail.
  for (const Text& entry :
       {LogEntry(u"[09:05]", u"one more line"), LogEntry(u"", Text(55000, u'n'))}) {
    AppendEntry(expected, entry);
    log.Add(entry);
    log.Flush();
    EXPECT_EQ(box.text, expected);
  }
  EXPECT_EQ(box.calls, "AIR");
  // A flood never piles up: past what the box could hold it is flushed.
  for (int i = 0; i < 10; ++i) log.Add(LogEntry(u"", Text(30000, u'x')));
  EXPECT_GT(box.calls.size(), 3u);
}

TEST(ChatLog, ABudgetSpreadsALongEntryAndNeverPartsALineBreakOrACharacter) {
  RecordingBox box;
  ChatLog log(box);
  // Positions in the entry, after its four-character separator.
  Text text(12000, u'x');
  text.replace(4999 - 4, 2, u"\r\n");        // across the first cut, at 5000
  text.replace(9998 - 4, 2, u"\U0001F600");  // across the second, at 9999
  text.replace(10000 - 4, 2, u"\r\n");
  const Text entry = LogEntry(u"", text);
  log.Add(entry);
  const std::tuple<std::size_t, std::size_t, const char*> flushes[] = {
      {5000, 4999, "the cut moves before a CR LF"},
      {5000, 9998, "and before a surrogate pair"},
      {1, 10000, "a budget under two still gets on, by a whole pair"},
      {1, 10002, "or a whole CR LF"},
      {2, 10004, "or two characters"},
  };
  for (const auto& [budget, length, why] : flushes) {
    log.Flush(budget);
    EXPECT_EQ(box.text.size(), length) << why;
  }
  EXPECT_EQ(log.Read(), entry);
  EXPECT_FALSE(log.HasPending());
}

}  // namespace
}  // namespace rapporta::test
