#include "chat/log_rule.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rapporta::chat {
namespace {

TEST(LogEntry, SeparatorThenTwoDigitTimePrefixThenTheTextAsGiven) {
  const std::tuple<bool, LocalTime, Text, Text> cases[] = {
      {true, {9, 5}, u"", u"\r\n\r\n[09:05]"},  // an empty text still gets both
      // One prefix for several lines; CR LF and bare breaks kept.
      {true, {1, 2}, u"a\r\nb\nc\r", u"\r\n\r\n[01:02]a\r\nb\nc\r"},
      // Without the time no prefix; the box would end its text at a NUL.
      {false, {0, 0}, Text(u"a\0b\0", 4), u"\r\n\r\na b "},
  };
  for (const auto& [showTime, now, text, entry] : cases)
    EXPECT_EQ(LogEntry(TimePrefix(showTime, now), text), entry);
}

TEST(TrimLog, KeepsACandidateUpToTheLimitElseTheTailAfterItsFirstLineBreak) {
  // In a candidate one over the limit, the tail starts at this position.
  const std::size_t head = kLogLimit + 1 - kTrimTailLength;
  Text pairs;
  for (int i = 0; i < 35000; ++i) pairs += u"\U0001F600";
  const std::tuple<const char*, Text, Text> cases[] = {
      {"exactly the limit stays whole", Text(kLogLimit - 2, u'a') + u"\r\n",
       Text(kLogLimit - 2, u'a') + u"\r\n"},
      // The head's own line break does not count.
      {"one more drops the head and the tail's partial first line",
       Text(head - 2, u'a') + u"\r\n" + Text(5, u'a') + u"\r\n" + Text(kTrimTailLength - 7, u'b'),
       Text(kTrimTailLength - 7, u'b')},
      {"a CR LF parted by the tail start is not the tail's",
       Text(head - 1, u'a') + u"\r\nbb\r\n" + Text(kTrimTailLength - 5, u'c'),
       Text(kTrimTailLength - 5, u'c')},
      {"a separator at the tail start leaves one empty line",
       Text(head, u'a') + LogEntry(u"", Text(kTrimTailLength - 4, u'b')),
       u"\r\n" + Text(kTrimTailLength - 4, u'b')},
      {"a CR LF ending the tail leaves nothing", Text(kLogLimit - 1, u'a') + u"\r\n", u""},
      {"a tail without a CR LF is kept whole", Text(70000, u'q'), Text(kTrimTailLength, u'q')},
      {"nor with the second half of a pair at its start", pairs + u"x",
       pairs.substr(pairs.size() - kTrimTailLength + 2) + u"x"},
  };
  for (auto [what, log, kept] : cases) {
    TrimLog(log);
    EXPECT_EQ(log, kept) << what;
  }
}

}  // namespace
}  // namespace rapporta::chat
