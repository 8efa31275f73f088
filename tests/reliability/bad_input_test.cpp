// Received texts of every awkward shape, through the real stand-in host and
// the real rapporta.exe: the log box holds what the rule gives for what was
// sent, and the program stays whole and responsive.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "rapporta_process_win.h"
#include "save/log_file_win.h"
#include "support/files_win.h"
#include "save/save_steps.h"

namespace rapporta::testing {
namespace {


struct Sample {
  const char* what;
  Text text;
};

// count characters cycling through a set without "[" or any line break.
Text Filler(std::size_t count) {
  constexpr char16_t kCycle[] = u"0123456789abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  Text text(count, u' ');
  for (std::size_t i = 0; i < count; ++i) text[i] = kCycle[i % (std::size(kCycle) - 1)];
  return text;
}

// count characters in lines of 98 plus CR LF.
Text Lines(std::size_t count) {
  Text text = Filler(count);
  for (std::size_t i = 98; i + 1 < count; i += 100) {
    text[i] = u'\r';
    text[i + 1] = u'\n';
  }
  return text;
}

std::vector<Sample> Samples() {
  const char16_t nulInside[] = u"before\0after";
  return {
      {"empty", u""},
      {"only line breaks", u"\r\n\r\n\r\n"},
      {"line breaks inside", u"\r\nfirst\r\n\r\nsecond\r\n"},
      {"bare CR", u"a\rb\r"},
      {"bare LF", u"\na\nb"},
      {"LF CR", u"x\n\ry"},
      {"NUL inside", Text(nulInside, std::size(nulInside) - 1)},
      {"only a NUL", Text(1, u'\0')},
      {"lone high surrogate at the end", Text(u"hi") + char16_t{0xD83D}},
      {"lone low surrogate", Text(1, char16_t{0xDE00}) + u"lo"},
      {"surrogates reversed", Text{char16_t{0xDE00}, char16_t{0xD83D}}},
      {"emoji and wide letters", u"73 \U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ こんにちは"},
      {"200000 characters in lines", Lines(200000)},
      {"200000 characters in one line", Filler(200000)},
      {"a plain line after it all", u"still whole"},
  };
}

class BadInput : public RunningRapporta {};

TEST_F(BadInput, EveryShapeOfReceivedTextFollowsTheRuleAndLaterEntriesAreWhole) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.what);
    const std::wstring expected = Expected(WithoutTimes(WindowText(log_)), {sample.text});
    const ULONGLONG start = GetTickCount64();
    standin_.Inject(sample.text);
    const bool shown = Shows(expected);
    std::printf("%-32s %6zu characters: in the box after %llu ms\n", sample.what,
                sample.text.size(), GetTickCount64() - start);
    const std::wstring actual = WithoutTimes(WindowText(log_));
    EXPECT_TRUE(shown) << "box " << actual.size() << " characters, rule " << expected.size();
    ASSERT_TRUE(Responsive(form_));
    ASSERT_FALSE(rapporta_.Ended());
  }
  // The time prefix is a real time.
  const std::wstring log = WindowText(log_);
  const std::wstring tail = L"]still whole";
  ASSERT_GE(log.size(), tail.size() + 11);
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  EXPECT_EQ(WithoutTimes(log.substr(log.size() - tail.size() - 6)), L"[00:00" + tail);

  // And all of it can be saved.
  ClickSave(form_);
  HWND dialog = rapporta_.Dialog(std::wstring(Wide(save::kSaveTitle)).c_str());
  ASSERT_TRUE(dialog);
  const test::TempFolder folder;
  const std::wstring path = folder.Path(L"awkward.txt");
  ChooseFile(dialog, path);
  const std::string bytes = save::EncodeLog(FromWide(log), GetACP());
  EXPECT_TRUE(WaitFor([&] { return test::ReadBytes(path) == bytes; }))
      << test::ReadBytes(path).size() << " bytes saved, " << bytes.size() << " expected";
}

TEST_F(BadInput, TypedTextOfAwkwardShapesReachesTheHostWholeAndIsEchoed) {
  const std::vector<Text> typed = {
      u"\U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ",
      Text(u"half a pair ") + char16_t{0xD83D},
      Text(1, char16_t{0xDE00}),
      Text(2000, u'x'),
  };
  std::vector<Text> echoes;
  for (const Text& line : typed) {
    echoes.push_back(u"N0CALL>" + line);
    const std::wstring expected = Expected(WithoutTimes(WindowText(log_)), {echoes.back()});
    const std::wstring wide(Wide(line));
    SendLine(form_, wide.c_str());
    EXPECT_TRUE(Shows(expected)) << "echo of a line of " << line.size();
  }
  EXPECT_EQ(standin_.SentLines(), typed);
}

}  // namespace
}  // namespace rapporta::testing
