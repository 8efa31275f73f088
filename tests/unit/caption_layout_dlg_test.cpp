#include <gtest/gtest.h>

#include "connection/caption.h"
#include "save/dlg_util.h"
#include "ui/layout.h"

namespace rapporta {
namespace {

TEST(Caption, CallSignAndPlainDecimalVersion) {
  EXPECT_EQ(connection::Caption(u"N0CALL"), u"Rapporta! <N0CALL> Ver 0.0.29");
  EXPECT_EQ(connection::Caption(u""), u"Rapporta! <> Ver 0.0.29");
  EXPECT_EQ(connection::Caption(u"JA1ABC", Version{1, 10, 100}),
            u"Rapporta! <JA1ABC> Ver 1.10.100");
}

TEST(ResizeRule, DesignWindowGivesTheDesignedInputRow) {
  const int outerWidth = ui::kClientWidth + ui::kFrameWidth;
  const int outerHeight = ui::kClientHeight + ui::kFrameHeight;
  const auto g = ui::ResizeRule(outerWidth, outerHeight);
  EXPECT_EQ(g.inputWidth, ui::kControls[ui::sInput].width);
  EXPECT_EQ(g.sendLeft, ui::kControls[ui::B_Send].left);
  EXPECT_EQ(g.chatWidth, ui::kClientWidth);
  // The frame's extra height moves the row 120 higher and shortens the log.
  EXPECT_EQ(g.inputTop, ui::kControls[ui::sInput].top - 120);
  EXPECT_EQ(g.sendTop, ui::kControls[ui::B_Send].top - 120);
  EXPECT_EQ(g.chatHeight, ui::kControls[ui::lChat].height - 135);
}

TEST(ResizeRule, TinyWindowsClampAtZero) {
  const auto g = ui::ResizeRule(1000, 800);
  EXPECT_EQ(g.chatHeight, 0);
  EXPECT_EQ(g.chatWidth, 880);
  EXPECT_EQ(g.inputWidth, 0);
  EXPECT_EQ(g.inputTop, -100);
  EXPECT_EQ(g.sendLeft, -260);
  const auto big = ui::ResizeRule(20000, 15000);
  EXPECT_EQ(big.chatHeight, 13500);
  EXPECT_EQ(big.inputWidth, 18635);
}

TEST(StripNull, EverythingBeforeTheFirstNul) {
  EXPECT_EQ(save::StripNull(u"abc" + Text(258, u'\0')), u"abc");
  EXPECT_EQ(save::StripNull(Text(1, u'\0') + u"abc"), u"");
  EXPECT_EQ(save::StripNull(u"C:\\a.txt"), u"C:\\a.txt");
  EXPECT_EQ(save::StripNull(Text(u"a\0b\0", 4)), u"a");
  EXPECT_EQ(save::StripNull(u""), u"");
}

TEST(AnswerWord, YesNoOrEmpty) {
  EXPECT_EQ(save::AnswerWord(6), "YES");
  EXPECT_EQ(save::AnswerWord(7), "NO");
  EXPECT_EQ(save::AnswerWord(2), "");
  EXPECT_EQ(save::AnswerWord(1), "");
  EXPECT_EQ(save::AnswerWord(0), "");
}

}  // namespace
}  // namespace rapporta
