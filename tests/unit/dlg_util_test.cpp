#include "save/dlg_util.h"

#include <gtest/gtest.h>

namespace rapporta::save {
namespace {

TEST(DlgUtil, StripNullKeepsWhatComesBeforeTheFirstNul) {
  const struct {
    Text buffer;
    Text name;
  } cases[] = {
      {u"abc" + Text(258, u'\0'), u"abc"},
      {Text(1, u'\0') + u"abc", u""},
      {u"C:\\a.txt", u"C:\\a.txt"},  // no NUL at all
      {Text(u"a\0b\0", 4), u"a"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripNull(c.buffer), c.name);
}

TEST(DlgUtil, AnswerWordIsYesNoOrEmpty) {
  EXPECT_EQ(AnswerWord(6), "YES");
  EXPECT_EQ(AnswerWord(7), "NO");
  for (int other : {0, 1, 2}) EXPECT_EQ(AnswerWord(other), "") << other;
}

}  // namespace
}  // namespace rapporta::save
