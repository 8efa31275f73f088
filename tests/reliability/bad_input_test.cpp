// Texts of every awkward shape through the real stand-in host and the real
// rapporta.exe, both ways over COM: a received one leaves in the box what the
// log rule gives for what was sent, a typed one reaches the host whole and is
// echoed, and the program stays whole and responsive. The rule itself is
// tested natively; this is what marshalling and the real box do to the text.
#include <iterator>

#include "processes_win.h"

namespace rapporta::test {
namespace {

// count characters from "0" to "Z" (no "["), in lines of 98 and CR LF or
// in one line.
Text Filler(std::size_t count, bool inLines) {
  Text text;
  for (std::size_t at = 0; at < count; at = text.size()) {
    text += inLines && at % 100 == 98 ? Text(u"\r\n") : Text(1, u'0' + at % 43);
  }
  return text;
}

using BadInput = RunningRapporta;

TEST_F(BadInput, EveryShapeOfTextFollowsTheRuleBothWaysAndLaterEntriesAreWhole) {
  const char16_t nulInside[] = u"before\0after";
  const Text emoji = u"73 \U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ こんにちは";
  const struct {
    const char* what;
    Text text;
    bool typed;  // else received
  } samples[] = {
      {"empty", u"", false},
      {"only line breaks", u"\r\n\r\n\r\n", false},
      {"line breaks inside", u"\r\nfirst\r\n\r\nsecond\r\n", false},
      {"bare CR", u"a\rb\r", false},
      {"bare LF", u"\na\nb", false},
      {"LF CR", u"x\n\ry", false},
      // A NUL once cut the log short.
      {"NUL inside", Text(nulInside, std::size(nulInside) - 1), false},
      {"only a NUL", Text(1, u'\0'), false},
      {"lone high surrogate at the end", Text(u"hi") + char16_t{0xD83D}, false},
      {"lone low surrogate", Text(1, char16_t{0xDE00}) + u"lo", false},
      {"surrogates reversed", Text{char16_t{0xDE00}, char16_t{0xD83D}}, false},
      {"emoji and wide letters", emoji, false},
      {"200000 characters in lines", Filler(200000, true), false},
      {"200000 characters in one line", Filler(200000, false), false},
      {"typed emoji and wide letters", emoji, true},
      {"typed half a pair", Text(u"half a pair ") + char16_t{0xD83D}, true},
      {"typed lone low surrogate", Text(1, char16_t{0xDE00}), true},
      {"typed 2000 characters", Text(2000, u'x'), true},
      {"a plain line after it all", u"still whole", false},
  };
  std::vector<Text> typed;
  for (const auto& sample : samples) {
    SCOPED_TRACE(sample.what);
    const Text entry = sample.typed ? u"N0CALL>" + sample.text : sample.text;
    const std::wstring expected = Expected(WithoutTimes(WindowText(log_)), {entry});
    if (sample.typed) {
      typed.push_back(sample.text);
      SendLine(form_, std::wstring(Wide(sample.text)));
    } else {
      standin_.Inject(sample.text);
    }
    EXPECT_TRUE(Shows(expected)) << "box " << WithoutTimes(WindowText(log_)).size() << " characters, rule "
                       << expected.size();
    ASSERT_TRUE(Responsive(form_));
  }
  EXPECT_EQ(standin_.SentLines(), typed);
}

}  // namespace
}  // namespace rapporta::test
