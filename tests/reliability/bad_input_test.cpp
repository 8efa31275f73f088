// Texts of every awkward shape through the real stand-in host and the real
// rapporta.exe, both ways over COM: a received one leaves in the box what the
// log rule gives for what was sent, a typed one reaches the host whole and is
// echoed, and the program stays whole and responsive. The rule itself is
// tested natively; this is what marshalling and the real box do to the text.
#include "processes_win.h"

namespace rapporta::test {
namespace {

using BadInput = RunningRapporta;

TEST_F(BadInput, EveryShapeOfTextFollowsTheRuleBothWaysAndLaterEntriesAreWhole) {
  const Text emoji = u"73 \U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ こんにちは";
  // 200000 characters without "[": in one line, and in lines of 98.
  Text oneLine, inLines;
  while (oneLine.size() < 200000) oneLine += char16_t(u'0' + oneLine.size() % 43);
  while (inLines.size() < 200000) inLines += Text(98, u'a' + inLines.size() / 100 % 26) + u"\r\n";
  const struct {
    const char* what;
    Text text;
    bool typed;  // else received
  } samples[] = {
      {"empty", u"", false},
      {"line breaks at the ends and inside", u"\r\nfirst\r\n\r\nsecond\r\n", false},
      {"bare CR, bare LF, LF CR", u"a\rb\nc\n\rd", false},
      // A NUL once cut the log short.
      {"NUL inside", Text(u"before\0after", 12), false},
      {"lone high surrogate at the end", Text(u"hi") + char16_t{0xD83D}, false},
      {"lone low surrogate, then a pair reversed",
       Text{char16_t{0xDE00}, u'l', u'o', char16_t{0xDE00}, char16_t{0xD83D}}, false},
      {"emoji and wide letters", emoji, false},
      {"200000 characters in lines", inLines, false},
      {"200000 characters in one line", oneLine, false},
      {"typed emoji and wide letters", emoji, true},
      {"typed half a pair, then a lone low surrogate",
       Text(u"half a pair ") + char16_t{0xD83D} + u"!" + char16_t{0xDE00}, true},
      {"a plain line after it all", u"still whole", false},
  };
  std::vector<Text> typed;
  for (const auto& sample : samples) {
    SCOPED_TRACE(sample.what);
    const Text entry = sample.typed ? u"N0CALL>" + sample.text : sample.text;
    const std::wstring expected = Expected(Log(), {entry});
    if (sample.typed) {
      typed.push_back(sample.text);
      SendLine(form_, std::wstring(Wide(sample.text)));
    } else {
      standin_.Inject(sample.text);
    }
    EXPECT_TRUE(Shows(expected)) << "box " << Log().size() << " characters, rule "
                                 << expected.size();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  }
  EXPECT_EQ(standin_.SentLines(), typed);
}

}  // namespace
}  // namespace rapporta::test
