// The window's layout at 96 DPI (15 twips per pixel): the designed controls
// and the resize rule on the real window.
#include <functional>

#include "form_fixture.h"

namespace rapporta::test {
namespace {

using ui::B_Clear;
using ui::B_Save;
using ui::B_Send;
using ui::C_Time;
using ui::lChat;
using ui::sInput;

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
  void SetClientSize(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE)), FALSE,
                       0);
    SetWindowPos(Window(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
  }
  // The top row never moves.
  void ExpectTopRowAsDesigned() {
    EXPECT_EQ(BoxOf(C_Time), (Box{0, 8, 73, 17}));
    EXPECT_EQ(BoxOf(B_Clear), (Box{80, 8, 49, 17}));
    EXPECT_EQ(BoxOf(B_Save), (Box{136, 8, 49, 17}));
  }
};

TEST_F(Geometry, TheResizeRuleFitsTheControlsOnFirstDisplayResizeAndRestore) {
  StartForm();
  EXPECT_EQ(Client().cx, 396);  // 5940 twips
  EXPECT_EQ(Client().cy, 353);  // 5295 twips
  // Outer size 6060 x 5700 twips: the log spans the client width and is 135
  // twips shorter than designed, the input row sits 120 twips higher.
  const struct {
    const char* when;
    std::function<void()> change;
    Box chat, input, send;
  } cases[] = {
      {"first display", [] {}, {0, 32, 396, 280}, {0, 320, 313, 23}, {320, 320, 57, 25}},
      {"resized", [&] { SetClientSize(600, 500); },  // outer 9120 x 7905 twips
       {0, 32, 600, 427}, {0, 467, 517, 23}, {524, 467, 57, 25}},
      {"minimized: nothing moves", [&] {
         ShowWindow(Window(), SW_MINIMIZE);
         ASSERT_TRUE(PumpUntil([&] { return IsIconic(Window()) != FALSE; }));
         Pump();
       },
       {0, 32, 600, 427}, {0, 467, 517, 23}, {524, 467, 57, 25}},
      {"restored and resized", [&] {
         ShowWindow(Window(), SW_RESTORE);
         ASSERT_TRUE(PumpUntil([&] { return !IsIconic(Window()); }));
         SetClientSize(500, 400);
       },
       {0, 32, 500, 327}, {0, 367, 417, 23}, {424, 367, 57, 25}},
  };
  for (const auto& c : cases) {
    c.change();
    EXPECT_EQ(BoxOf(lChat), c.chat) << c.when;
    EXPECT_EQ(BoxOf(sInput), c.input) << c.when;
    EXPECT_EQ(BoxOf(B_Send), c.send) << c.when;
    ExpectTopRowAsDesigned();
  }
}

TEST_F(Geometry, MaximizeStretchesLogAndInputAndKeepsTheInputRowAtTheBottom) {
  StartForm();
  ShowWindow(Window(), SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return Client().cx > 396 && Client().cy > 353; }));
  Pump();
  const SIZE client = Client();
  EXPECT_EQ(BoxOf(lChat), (Box{0, 32, client.cx, client.cy - 73}));
  EXPECT_EQ(BoxOf(sInput), (Box{0, client.cy - 33, client.cx - 83, 23}));
  EXPECT_EQ(BoxOf(B_Send), (Box{client.cx - 76, client.cy - 33, 57, 25}));
  ExpectTopRowAsDesigned();
}

TEST_F(Geometry, WindowSmallerThanTheOffsetsClampsSizesAtZero) {
  MessageBoxWatcher boxes;
  StartForm();
  SetWindowPos(Window(), nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  const SIZE client = Client();
  ASSERT_LT(client.cy * 15 + 405, 1500) << "the window must be lower than the offsets";
  EXPECT_EQ(BoxOf(lChat).height, 0);
  EXPECT_GE(BoxOf(sInput).width, 0);
  EXPECT_EQ(BoxOf(sInput).top, client.cy - 33);
  EXPECT_TRUE(boxes.Boxes().empty()) << "no failure reported";
  // And back: the rule applies again.
  SetClientSize(396, 353);
  EXPECT_EQ(BoxOf(lChat), (Box{0, 32, 396, 280}));
}

TEST_F(Geometry, ANewDpiScalesTheControlsAndTheFonts) {
  StartForm();
  // As Windows announces a move to a 150 % monitor.
  RECT suggested{0, 0, 0, 0};
  GetWindowRect(Window(), &suggested);
  suggested.right = suggested.left + 700;
  suggested.bottom = suggested.top + 600;
  SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  Pump();
  EXPECT_EQ(BoxOf(C_Time), (Box{0, 12, 110, 26}));
  EXPECT_EQ(BoxOf(B_Clear), (Box{120, 12, 74, 26}));
  EXPECT_EQ(BoxOf(B_Save), (Box{204, 12, 74, 26}));
  const SIZE client = Client();
  // 10 twips per pixel: the log spans the client width, the input row sits
  // 900 twips above the outer bottom.
  EXPECT_EQ(BoxOf(lChat).top, 48);
  EXPECT_EQ(BoxOf(lChat).width, client.cx);
  EXPECT_EQ(BoxOf(sInput).top, MulDiv(client.cy * 10 + 405 - 900, 144, 1440));
  EXPECT_EQ(BoxOf(sInput).height, 34);
  EXPECT_EQ(BoxOf(B_Send).width, 86);
  LOGFONTW input{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(sInput), WM_GETFONT, 0, 0)),
             sizeof input, &input);
  EXPECT_EQ(input.lfHeight, -27);  // 13.5 point at 144 DPI
}

TEST_F(Geometry, ControlsCarryTheirDesignedSettings) {
  StartForm();
  const auto style = [&](ui::ControlIndex index) {
    return static_cast<DWORD>(GetWindowLongPtrW(Control(index), GWL_STYLE));
  };
  EXPECT_EQ(WindowText(Control(B_Send)), L"Send");
  EXPECT_EQ(WindowText(Control(C_Time)), L"時間表示");
  EXPECT_EQ(WindowText(Control(B_Clear)), L"クリア");
  EXPECT_EQ(WindowText(Control(B_Save)), L"保存");
  EXPECT_EQ(SendMessageW(Control(C_Time), BM_GETCHECK, 0, 0), BST_CHECKED);
  // The log wraps (no horizontal scrolling), scrolls vertically, takes more
  // than the default 32767 characters and is left out of the Tab order.
  EXPECT_TRUE(style(lChat) & ES_MULTILINE);
  EXPECT_TRUE(style(lChat) & WS_VSCROLL);
  EXPECT_FALSE(style(lChat) & (WS_HSCROLL | ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP));
  EXPECT_GE(static_cast<DWORD>(SendMessageW(Control(lChat), EM_GETLIMITTEXT, 0, 0)), 60000u * 2);
  EXPECT_FALSE(style(sInput) & ES_MULTILINE);
  for (auto index : {sInput, B_Send, C_Time, B_Clear, B_Save})
    EXPECT_TRUE(style(index) & WS_TABSTOP) << index;
  // No default button.
  EXPECT_FALSE(style(B_Send) & BS_DEFPUSHBUTTON);
  // The input's own font; the others use the window's default font.
  LOGFONTW input{}, log{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(sInput), WM_GETFONT, 0, 0)),
             sizeof input, &input);
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(lChat), WM_GETFONT, 0, 0)),
             sizeof log, &log);
  EXPECT_STREQ(input.lfFaceName, L"System");
  EXPECT_EQ(input.lfHeight, -18);  // 13.5 point at 96 DPI
  EXPECT_EQ(input.lfWeight, 400);
  EXPECT_EQ(input.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_FALSE(input.lfItalic || input.lfUnderline || input.lfStrikeOut);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  EXPECT_STREQ(log.lfFaceName, metrics.lfMessageFont.lfFaceName);
  for (auto index : {B_Send, C_Time, B_Clear, B_Save}) {
    EXPECT_EQ(SendMessageW(Control(index), WM_GETFONT, 0, 0),
              SendMessageW(Control(lChat), WM_GETFONT, 0, 0));
  }
  // Sizable with a title bar; the focus starts in the input.
  EXPECT_TRUE(GetWindowLongPtrW(Window(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(GetFocus(), Control(sInput));
}

}  // namespace
}  // namespace rapporta::test
