#pragma once
// The window's design in twips (1/1440 inch, 15 per pixel at 96 DPI),
// measured from the top-left corner of the client area.
#include <array>
#include <optional>

#include "common/text.h"

namespace rapporta::ui {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidth = 5940;
inline constexpr int kClientHeight = 5295;
// The design-time frame; the resize rule works on client size plus this.
inline constexpr int kFrameWidth = 120;
inline constexpr int kFrameHeight = 405;

enum class ControlKind { TextBox, PushButton, CheckBox };

struct ControlDesign {
  const char16_t* name;
  ControlKind kind;
  const char16_t* caption;
  int left;
  int top;
  int width;
  int height;
  int tabIndex;
};

// In tab order.
inline constexpr std::array<ControlDesign, 6> kControls{{
    {u"lChat", ControlKind::TextBox, u"", 0, 480, 5895, 4335, 0},
    {u"sInput", ControlKind::TextBox, u"", 0, 4920, 4695, 340, 1},
    {u"B_Send", ControlKind::PushButton, u"Send", 4800, 4920, 855, 375, 2},
    {u"C_Time", ControlKind::CheckBox, u"時間表示", 0, 120, 1095, 255, 3},
    {u"B_Clear", ControlKind::PushButton, u"クリア", 1200, 120, 735, 255, 4},
    {u"B_Save", ControlKind::PushButton, u"保存", 2040, 120, 735, 255, 5},
}};

enum ControlIndex { lChat = 0, sInput, B_Send, C_Time, B_Clear, B_Save };

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
// new geometry; nothing when minimized. Sizes that would be negative on a
// window smaller than the offsets are clamped at zero.
std::optional<ResizedGeometry> ResizeRule(int outerWidth, int outerHeight, bool minimized);

}  // namespace rapporta::ui
