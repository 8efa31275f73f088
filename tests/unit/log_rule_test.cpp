#include "chat/log_rule.h"

#include <gtest/gtest.h>

namespace rapporta::chat {
namespace {

Text Repeat(char16_t c, std::size_t n) { return Text(n, c); }

TEST(TimePrefix, TwoDigitHoursAndMinutesInBrackets) {
  EXPECT_EQ(TimePrefix(true, {14, 7}), u"[14:07]");
  EXPECT_EQ(TimePrefix(true, {9, 5}), u"[09:05]");
  EXPECT_EQ(TimePrefix(true, {0, 0}), u"[00:00]");
  EXPECT_EQ(TimePrefix(true, {23, 59}), u"[23:59]");
  EXPECT_EQ(TimePrefix(false, {14, 7}), u"");
}

TEST(LogEntry, SeparatorPrefixAndTextAsGiven) {
  Text log;
  AppendEntry(log, LogEntry(u"", u"hello"));
  EXPECT_EQ(log, u"\r\n\r\nhello");
  AppendEntry(log, LogEntry(TimePrefix(true, {14, 7}), u"abc"));
  EXPECT_EQ(log, u"\r\n\r\nhello\r\n\r\n[14:07]abc");
  // An empty text still gets its separator and prefix.
  EXPECT_EQ(LogEntry(u"[01:02]", u""), u"\r\n\r\n[01:02]");
  // Several lines get one prefix, before the first; CR LF and bare breaks kept.
  EXPECT_EQ(LogEntry(u"[01:02]", u"a\r\nb\nc\r"), u"\r\n\r\n[01:02]a\r\nb\nc\r");
}

TEST(TrimLog, CandidateOfExactlyTheLimitStaysWhole) {
  Text log = Repeat(u'x', kLogLimit - 4 - 1);
  AppendEntry(log, LogEntry(u"", u"y"));
  ASSERT_EQ(log.size(), kLogLimit);
  EXPECT_EQ(log.substr(log.size() - 5), u"\r\n\r\ny");
  EXPECT_EQ(log.front(), u'x');
}

TEST(TrimLog, OneMoreCharacterTrimsFromTheTailsFirstLineBreak) {
  // Lines of 98 characters plus CR LF, so the tail starts mid-line.
  Text log;
  while (log.size() < kLogLimit - 200) log += Repeat(u'a', 98) + u"\r\n";
  log += Repeat(u'b', kLogLimit - 4 - 2 - log.size());
  const Text before = log;
  AppendEntry(log, LogEntry(u"", u"zz"));  // candidate: 60000
  ASSERT_EQ(log.size(), kLogLimit);
  log = before + u"b";
  const Text candidate = log + LogEntry(u"", u"zz");
  ASSERT_EQ(candidate.size(), kLogLimit + 1);
  AppendEntry(log, LogEntry(u"", u"zz"));

  const Text tail = candidate.substr(candidate.size() - kTrimTailLength);
  const std::size_t lineBreak = tail.find(u"\r\n");
  ASSERT_NE(lineBreak, Text::npos);
  ASSERT_GT(lineBreak, 0u) << "the test wants a partial first line";
  EXPECT_EQ(log, tail.substr(lineBreak + 2));
  EXPECT_LT(log.size(), kTrimTailLength);
  EXPECT_EQ(log.substr(0, 3), u"aaa");
  EXPECT_EQ(log.substr(log.size() - 6), u"\r\n\r\nzz");
}

TEST(TrimLog, LineBreakSplitByTheTailStartIsNotALineBreakOfTheTail) {
  // The CR falls just before the tail and its LF is the tail's first
  // character: the tail's first CR LF is the next one.
  Text candidate = Repeat(u'a', kLogLimit + 1 - kTrimTailLength - 1) + u"\r" + u"\n" +
                   Repeat(u'b', 10) + u"\r\n" + Repeat(u'c', 20);
  candidate += Repeat(u'd', kLogLimit + 1 - candidate.size());
  ASSERT_EQ(candidate[candidate.size() - kTrimTailLength], u'\n');
  TrimLog(candidate);
  EXPECT_EQ(candidate.substr(0, 20), Repeat(u'c', 20));
}

TEST(TrimLog, SeparatorAtTheTailStartLeavesOneEmptyLine) {
  // Tail begins with a separator: its first CR LF is followed by another.
  Text log = Repeat(u'a', kLogLimit + 1 - kTrimTailLength);
  Text entry = LogEntry(u"", Repeat(u'b', kTrimTailLength - 4));
  AppendEntry(log, entry);
  EXPECT_EQ(log, u"\r\n" + Repeat(u'b', kTrimTailLength - 4));
}

TEST(TrimLog, LineBreakEndingTheTailLeavesAnEmptyLog) {
  Text log = Repeat(u'a', kLogLimit);
  AppendEntry(log, u"\r\n");
  EXPECT_EQ(log, u"");
}

TEST(TrimLog, TailWithoutLineBreakIsKeptWithoutSplittingACharacter) {
  Text log;
  AppendEntry(log, LogEntry(u"", Repeat(u'q', 70000)));
  EXPECT_EQ(log, Repeat(u'q', kTrimTailLength));

  // A surrogate pair straddling the tail start: the half pair is dropped too.
  Text pairs;
  for (int i = 0; i < 35000; ++i) pairs += u"\U0001F600";
  Text odd = pairs + u"x";  // 70001 characters: the tail starts on a low half
  ASSERT_EQ(odd[odd.size() - kTrimTailLength], u'\xDE00');
  TrimLog(odd);
  EXPECT_EQ(odd.size(), kTrimTailLength - 1);
  EXPECT_EQ(odd.front(), u'\xD83D');
  EXPECT_EQ(odd.back(), u'x');
}

}  // namespace
}  // namespace rapporta::chat
