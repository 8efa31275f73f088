// The window's layout on the real window: the controls and fonts after a
// move to 144 DPI, and the resize rule at 96 DPI (15 twips per pixel).
#include <array>

#include "form_fixture.h"

namespace rapporta::test {
namespace {

using Box = std::array<long, 4>;  // left, top, width, height

class Geometry : public FormTest {
 protected:
  // In the window's client coordinates.
  Box BoxOf(ui::ControlIndex index) {
    RECT rect{};
    GetWindowRect(Control(index), &rect);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  }
  SIZE Client() {
    RECT rect{};
    GetClientRect(Window(), &rect);
    return {rect.right, rect.bottom};
  }
  HFONT Font(ui::ControlIndex index) {
    return reinterpret_cast<HFONT>(SendMessageW(Control(index), WM_GETFONT, 0, 0));
  }
};

// The input has a font of its own, 13.5 point; the others share the
// window's default font. Then at 96 DPI the top row stays as designed; the
// log spans the client's width from below it to 8 pixels (120 twips) above
// the input row, which keeps to the bottom. Minimized, nothing moves.
TEST_F(Geometry, TheLayoutFitsTheControlsToAnyDpiAndSize) {
  StartForm();
  EXPECT_EQ(Client().cx, 396);  // 5940 x 5295 twips
  EXPECT_EQ(Client().cy, 353);
  LOGFONTW font{};
  GetObjectW(Font(sInput), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -18);
  for (auto index : {B_Send, C_Time, B_Clear, B_Save}) EXPECT_EQ(Font(index), Font(lChat));
  EXPECT_NE(Font(sInput), Font(lChat));
  // As Windows announces a move to a 150 % monitor, suggesting the place the
  // window has: the window's size stays, and only its own layout moves the
  // controls, half as large again: the top row, and the rule at 10 twips
  // per pixel (the log 2435 twips high). Then back at 100 % for the rows
  // below.
  RECT place{};
  GetWindowRect(Window(), &place);
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));
  Pump();
  GetObjectW(Font(sInput), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -27);
  EXPECT_EQ(BoxOf(B_Save), (Box{204, 12, 74, 26}));
  EXPECT_EQ(BoxOf(lChat), (Box{0, 48, 396, 244}));
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
  Pump();
  const struct {
    const char* when;
    int show;    // a ShowWindow command; 0: a new outer size
    SIZE outer = {};
  } cases[] = {
      {"back at 100 %", SW_SHOWNORMAL},
      {"resized", 0, {700, 550}},
      {"minimized", SW_MINIMIZE},
  };
  SIZE client{};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    if (c.show) {
      ShowWindow(Window(), c.show);
      // The display's window manager may answer a little later.
      ASSERT_TRUE(PumpUntil([&] { return (IsIconic(Window()) != 0) == (c.show == SW_MINIMIZE); }));
    } else {
      SetWindowPos(Window(), nullptr, 0, 0, c.outer.cx, c.outer.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    Pump();
    if (!IsIconic(Window())) client = Client();
    EXPECT_EQ(BoxOf(lChat), (Box{0, 32, client.cx, client.cy - 73}));
    EXPECT_EQ(BoxOf(sInput), (Box{0, client.cy - 33, client.cx - 83, 23}));
    EXPECT_EQ(BoxOf(B_Send), (Box{client.cx - 76, client.cy - 33, 57, 25}));
    EXPECT_EQ(BoxOf(C_Time), (Box{0, 8, 73, 17}));
    EXPECT_EQ(BoxOf(B_Clear), (Box{80, 8, 49, 17}));
    EXPECT_EQ(BoxOf(B_Save), (Box{136, 8, 49, 17}));
  }
  EXPECT_TRUE(user.Take().empty()) << "no failure reported";
}

}  // namespace
}  // namespace rapporta::test
