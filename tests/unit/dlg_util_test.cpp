#include "save/dlg_util.h"

#include <gtest/gtest.h>

#include <utility>

namespace rapporta::save {
namespace {

// The answer words are the window's save tests' matter: they answer the real box.
TEST(DlgUtil, StripNullKeepsWhatComesBeforeTheFirstNul) {
  const std::pair<Text, Text> buffers[] = {
      {u"abc" + Text(258, u'\0'), u"abc"},
      {Text(1, u'\0') + u"abc", u""},
      {u"C:\\a.txt", u"C:\\a.txt"},  // no NUL at all
      {Text(u"a\0b\0", 4), u"a"},    // not every NUL dropped: the text ends at the first
  };
  for (const auto& [buffer, name] : buffers) EXPECT_EQ(StripNull(buffer), name);
}

}  // namespace
}  // namespace rapporta::save
