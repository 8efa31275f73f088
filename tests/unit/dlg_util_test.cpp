#include "save/dlg_util.h"

#include <gtest/gtest.h>

#include <utility>

namespace rapporta::save {
namespace {

TEST(DlgUtil, StripNullKeepsWhatComesBeforeTheFirstNul) {
  const std::pair<Text, Text> buffers[] = {
      {u"abc" + Text(258, u'\0'), u"abc"},
      {Text(1, u'\0') + u"abc", u""},
      {u"C:\\a.txt", u"C:\\a.txt"},  // no NUL at all
      {Text(u"a\0b\0", 4), u"a"},    // not every NUL dropped: the text ends at the first
      {u"", u""},
  };
  for (const auto& [buffer, name] : buffers) EXPECT_EQ(StripNull(buffer), name);
}

TEST(DlgUtil, AnswerWordIsYesNoOrEmpty) {
  EXPECT_EQ(AnswerWord(6), "YES");
  EXPECT_EQ(AnswerWord(7), "NO");
  for (int other : {0, 1, 2}) EXPECT_EQ(AnswerWord(other), "") << other;
}

}  // namespace
}  // namespace rapporta::save
