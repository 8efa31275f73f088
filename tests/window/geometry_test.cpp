// The window's layout on the real window: the designed controls, and the
// resize rule at 96 DPI (15 twips per pixel) and after a move to 144 DPI.
#include <algorithm>

#include "form_fixture.h"

namespace rapporta::test {
namespace {

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};

void PrintTo(const Box& box, std::ostream* out) {
  *out << "{" << box.left << "," << box.top << " " << box.width << "x" << box.height << "}";
}

class Geometry : public FormTest {
 protected:
  Box BoxOf(ui::ControlIndex index) {
    const RECT rect = ControlRect(Control(index));
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  }
  SIZE Client() {
    RECT rect{};
    GetClientRect(Window(), &rect);
    return {rect.right, rect.bottom};
  }
  void SetOuterSize(int width, int height) {
    SetWindowPos(Window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
  }
  HFONT Font(ui::ControlIndex index) {
    return reinterpret_cast<HFONT>(SendMessageW(Control(index), WM_GETFONT, 0, 0));
  }
  LOGFONTW FontOf(ui::ControlIndex index) {
    LOGFONTW font{};
    GetObjectW(Font(index), sizeof font, &font);
    return font;
  }
};

// The top row stays as designed; the log spans the client's width from below
// it to 8 pixels (120 twips) above the input row, which keeps to the bottom;
// sizes stop at zero. Minimized, nothing moves.
TEST_F(Geometry, TheResizeRuleFitsTheControlsToAnySize) {
  StartForm();
  EXPECT_EQ(Client().cx, 396);  // 5940 x 5295 twips
  EXPECT_EQ(Client().cy, 353);
  const auto show = [this](int command, std::function<bool()> done) {
    return [this, command, done] {
      ShowWindow(Window(), command);
      ASSERT_TRUE(PumpUntil(done));
      Pump();
    };
  };
  const struct {
    const char* when;
    std::function<void()> change;
  } cases[] = {
      {"first display", [] {}},
      {"resized", [&] { SetOuterSize(700, 550); }},
      {"minimized", show(SW_MINIMIZE, [&] { return IsIconic(Window()) != 0; })},
      {"restored", show(SW_RESTORE, [&] { return !IsIconic(Window()); })},
      {"smaller than the offsets", [&] { SetOuterSize(40, 30); }},
      {"maximized", show(SW_MAXIMIZE, [&] { return Client().cx > 396; })},
  };
  SIZE client{};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    c.change();
    if (!IsIconic(Window())) client = Client();
    EXPECT_EQ(BoxOf(lChat), (Box{0, 32, client.cx, std::max(0L, client.cy - 73)}));
    EXPECT_EQ(BoxOf(sInput), (Box{0, client.cy - 33, std::max(0L, client.cx - 83), 23}));
    EXPECT_EQ(BoxOf(B_Send), (Box{client.cx - 76, client.cy - 33, 57, 25}));
    EXPECT_EQ(BoxOf(C_Time), (Box{0, 8, 73, 17}));
    EXPECT_EQ(BoxOf(B_Clear), (Box{80, 8, 49, 17}));
    EXPECT_EQ(BoxOf(B_Save), (Box{136, 8, 49, 17}));
  }
  EXPECT_TRUE(user.Take().empty()) << "no failure reported";
}

TEST_F(Geometry, ANewDpiScalesTheControlsAndTheFonts) {
  StartForm();
  // As Windows announces a move to a 150 % monitor.
  RECT suggested{};
  GetWindowRect(Window(), &suggested);
  suggested.right = suggested.left + 700;
  suggested.bottom = suggested.top + 600;
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  Pump();
  EXPECT_EQ(BoxOf(C_Time), (Box{0, 12, 110, 26}));
  EXPECT_EQ(BoxOf(B_Clear), (Box{120, 12, 74, 26}));
  EXPECT_EQ(BoxOf(B_Save), (Box{204, 12, 74, 26}));
  const Box log = BoxOf(lChat), input = BoxOf(sInput), send = BoxOf(B_Send);
  EXPECT_EQ(log.top, 48);
  EXPECT_EQ(log.width, Client().cx);
  EXPECT_NEAR(input.top - (log.top + log.height), 12, 1);  // 120 twips
  EXPECT_EQ(input.height, 34);
  EXPECT_EQ(send.width, 86);
  EXPECT_LT(input.top + input.height, Client().cy);
  EXPECT_EQ(FontOf(sInput).lfHeight, -27);  // 13.5 point at 144 DPI
}

TEST_F(Geometry, ControlsCarryTheirDesignedTextsAndFonts) {
  StartForm();
  const std::pair<ui::ControlIndex, const wchar_t*> texts[] = {
      {lChat, L""}, {sInput, L""}, {B_Send, L"Send"}, {C_Time, L"時間表示"}, {B_Clear, L"クリア"},
      {B_Save, L"保存"}};
  for (const auto& [index, text] : texts) {
    EXPECT_EQ(WindowText(Control(index)), text);
    // The input has its own font; the others use the window's default font.
    EXPECT_TRUE(index == sInput || Font(index) == Font(lChat)) << index;
  }
  const LOGFONTW input = FontOf(sInput);
  EXPECT_STREQ(input.lfFaceName, L"System");
  EXPECT_EQ(input.lfHeight, -18);  // 13.5 point at 96 DPI
  EXPECT_EQ(input.lfWeight, 400);
  EXPECT_EQ(input.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_FALSE(input.lfItalic || input.lfUnderline || input.lfStrikeOut);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  EXPECT_STREQ(FontOf(lChat).lfFaceName, metrics.lfMessageFont.lfFaceName);
  // The log wraps; Enter belongs to the input, not to a default button.
  EXPECT_FALSE(GetWindowLongPtrW(Control(lChat), GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL));
  EXPECT_FALSE(GetWindowLongPtrW(Control(B_Send), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_TRUE(GetWindowLongPtrW(Window(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(SendMessageW(Control(C_Time), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetFocus(), Control(sInput));
}

}  // namespace
}  // namespace rapporta::test
