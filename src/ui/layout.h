#pragma once
// The window's design in twips (1/1440 inch, 15 per pixel at 96 DPI),
// measured from the top-left corner of the client area.
#include <array>

#include "common/text.h"

namespace rapporta::ui {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidth = 5940;
inline constexpr int kClientHeight = 5295;
// The design-time frame; the resize rule works on client size plus this.
inline constexpr int kFrameWidth = 120;
inline constexpr int kFrameHeight = 405;

struct ControlDesign {
  const char16_t* caption;
  int left;
  int top;
  int width;
  int height;
};

// Indexes of kControls, in tab order; each control's kind follows from its
// index.
enum ControlIndex { lChat = 0, sInput, B_Send, C_Time, B_Clear, B_Save };

inline constexpr std::array<ControlDesign, 6> kControls{{
    {u"", 0, 480, 5895, 4335},              // lChat
    {u"", 0, 4920, 4695, 340},              // sInput
    {u"Send", 4800, 4920, 855, 375},        // B_Send
    {u"時間表示", 0, 120, 1095, 255},       // C_Time
    {u"クリア", 1200, 120, 735, 255},       // B_Clear
    {u"保存", 2040, 120, 735, 255},         // B_Save
}};

// What Form_Resize sets, in twips.
struct ResizedGeometry {
  int chatHeight;
  int chatWidth;
  int inputTop;
  int inputWidth;
  int sendTop;
  int sendLeft;
};

// Form_Resize as arithmetic: from the window's outer size in twips to the
// new geometry (Form_Resize leaves a minimized window alone before this).
// Sizes that would be negative on a window smaller than the offsets are
// clamped at zero.
ResizedGeometry ResizeRule(int outerWidth, int outerHeight);

}  // namespace rapporta::ui
