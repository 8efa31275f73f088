// Sending with real keyboard input, a failed send, the Tab order, and the log
// box's keys.
#include "form_fixture.h"

#include <cctype>
#include <functional>
#include <thread>

namespace rapporta::test {
namespace {

class Sending : public FormTest {};

// Types lower-case letters and spaces; a line break is Enter.
void Type(const char* keys) {
  for (const char* key = keys; *key != 0; ++key) {
    PressKey(*key == '\n' ? VK_RETURN : static_cast<WORD>(std::toupper(*key)));
  }
}

// Keys typed before, during and after a send the host takes 300 ms over:
// each finished line reaches the host once, whole, in order, and is echoed
// in that order; the same key does the same thing whenever it comes. Enter
// is consumed: no line break reaches the emptied box. A failed send is
// reported over the window.
TEST_F(Sending, LinesTypedWhileASendIsOutGoAfterItEachOnceAndWhole) {
  const struct {
    const char* what;
    std::function<void(Sending&)> act;
    std::vector<Text> sent;  // what the host got, once the window is gone
    std::wstring box;        // "" too once the window closed
    const wchar_t* report = nullptr;  // how it starts
  } cases[] = {
      {"before (typed ahead within a few ms, the first line beyond ASCII, a double Enter "
       "sending its line once), during and after a call",
       [](Sending& t) {
         // The window's thread waits inside the send: keys "during" come
         // from another thread, as a user's do.
         std::thread during([] {
           Sleep(150);
           Type("ee\nfour\nfi");
         });
         SetWindowTextW(t.Control(sInput), L"こんにちは");
         Type("\ntwo\n\nthr");
         ASSERT_TRUE(t.PumpUntil([&] { return t.host->Sent().size() == 4; }));
         during.join();
         t.PumpUntil([] { return false; }, 100ms);
         Type("ve\n");
       },
       {u"こんにちは", u"two", u"three", u"four", u"five"}, L""},
      {"Enter on the empty box sends the empty line", [](Sending&) { Type("\n"); }, {u""}, L""},
      {"a failed send puts its line and those behind it back, before what was typed since",
       [](Sending& t) {
         t.host->failNextSend = Failure("HostApp.SendChat", static_cast<std::int32_t>(0x800706BA));
         Type("one\ntwo\npar");
       },
       {}, L"one two par",
       L"メッセージを送信できませんでした。メッセージは入力欄に残っています。\r\n\r\n"
       L"詳細: HostApp.SendChat / エラー 0x800706BA"},
      {"a close while lines are queued wins; the line out still goes whole",
       [](Sending& t) {
         std::thread closer([window = t.Window()] {
           Sleep(100);
           PostMessageW(window, WM_CLOSE, 0, 0);
         });
         Type("one\ntwo\n");
         EXPECT_TRUE(t.PumpUntil([&] { return t.Window() == nullptr; }, 2s));
         closer.join();
       },
       {u"one"}, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host = std::make_shared<FakeHostState>();
    host->sendMs = 300;
    StartInFront();
    c.act(*this);
    if (Window() != nullptr) {
      EXPECT_TRUE(PumpUntil([&] {
        return host->Sent().size() == c.sent.size() && WindowText(Control(sInput)) == c.box;
      }));
      std::wstring echoes;
      for (const Text& line : c.sent) echoes += L"\r\n\r\n[14:07]N0CALL>" + std::wstring(Wide(line));
      EXPECT_EQ(LogBoxText(), echoes);
      const auto seen = user.Take();
      ASSERT_EQ(seen.size(), c.report ? 1u : 0u);
      if (c.report) {
        EXPECT_EQ(seen[0].text.rfind(c.report, 0), 0u) << seen[0].text;
        EXPECT_EQ(seen[0].title, L"Rapporta");
        EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_ERROR));
        EXPECT_EQ(seen[0].owner, Window());
      }
    }
    form.reset();
    EXPECT_EQ(host->Sent(), c.sent);
  }
}

// Ctrl+C copies "hello"; no other key changes the box, the selection or the
// clipboard; only a menu the mouse opens pastes. Escape hands the focus to
// the input, and Tab goes round the controls from there, past the log.
TEST_F(Sending, LogBoxKeysCopyAndEscapeOnlyAndTabSkipsTheLog) {
  StartInFront();
  Receive(u"hello world");
  const std::wstring log = LogBoxText();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  SetFocus(Control(lChat));
  SendMessageW(Control(lChat), EM_SETSEL, 11, 16);  // "hello"
  PressKey('C', {VK_CONTROL});
  ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }));
  SendMessageW(Control(lChat), EM_SETSEL, 17, 22);  // "world"
  // The keyboard's ways into the box's own menu (the Apps key, Shift+F10)
  // and into the window's menu mode (F10) are each followed by P, which
  // would paste.
  const std::pair<WORD, std::vector<WORD>> keys[] = {
      {'A', {}}, {VK_DELETE, {}}, {VK_BACK, {}}, {VK_LEFT, {}}, {VK_DOWN, {}}, {VK_END, {}},
      {VK_RETURN, {}}, {'A', {VK_CONTROL}}, {'V', {VK_CONTROL}}, {'X', {VK_CONTROL}},
      {VK_INSERT, {VK_SHIFT}}, {'C', {VK_CONTROL, VK_SHIFT}}, {VK_APPS, {}}, {'P', {}},
      {VK_APPS, {VK_SHIFT}}, {'P', {}}, {VK_F10, {}}, {'P', {}}, {VK_F10, {VK_SHIFT}}, {'P', {}},
  };
  for (const auto& [key, modifiers] : keys) PressKey(key, modifiers);
  PumpUntil([] { return false; }, 300ms);
  EXPECT_EQ(LogBoxText(), log);
  EXPECT_FALSE(InSystemLoop(GUI_INMENUMODE));
  EXPECT_EQ(SendMessageW(Control(lChat), EM_GETSEL, 0, 0), MAKELRESULT(17, 22)) << "selection";
  EXPECT_EQ(GetFocus(), Control(lChat));
  EXPECT_EQ(ImmGetContext(Control(lChat)), nullptr) << "the input method has a say in the box";

  // A menu the mouse opens is worked with the keyboard: P pastes what Ctrl+C
  // copied over "world".
  OpenLogMenu();
  PressKey('P');
  EXPECT_TRUE(PumpUntil([&] { return LogBoxText() != log; }));
  EXPECT_EQ(LogBoxText(), log.substr(0, 17) + L"hello");

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control(sInput); }));
  for (const ui::ControlIndex next : {B_Send, C_Time, B_Clear, B_Save, sInput}) {
    PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Control(next); })) << "to control " << next;
  }

  // Alt+F4 is the window's, wherever the focus is. (Alt+Space reaches the
  // window as a character even with its key cancelled; F4 does not.)
  SetFocus(Control(lChat));
  PressKey(VK_F4, {VK_MENU});
  EXPECT_TRUE(PumpUntil([&] { return Window() == nullptr; }));
}

}  // namespace
}  // namespace rapporta::test
