// Sending with real keyboard input and the buttons, and the log box's keys.
#include "form_fixture.h"

#include <imm.h>

namespace rapporta::test {
namespace {

using ui::B_Send;
using ui::lChat;
using ui::sInput;

class Sending : public FormTest {
 protected:
  void StartInForeground() {
    StartForm();
    ASSERT_TRUE(MakeForeground(Window()));
    ASSERT_EQ(GetFocus(), Control(sInput));
  }
  bool Ends(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  }
};

TEST_F(Sending, EnterInAnEmptyInputSendsTheEmptyStringAndEchoesTheCallsign) {
  StartInForeground();
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !host->sent.empty(); }));
  EXPECT_EQ(host->sent, std::vector<Text>{u""});
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]N0CALL>");
  // Typed text and Enter: the Enter is consumed, the input emptied.
  TypeText(L"こんにちは");
  ASSERT_TRUE(PumpUntil([&] { return WindowText(Control(sInput)) == L"こんにちは"; }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return host->sent.size() == 2; }));
  EXPECT_EQ(host->sent.back(), u"こんにちは");
  EXPECT_TRUE(PumpUntil([&] { return WindowText(Control(sInput)).empty(); }));
  EXPECT_TRUE(Ends(LogBoxText(), L"\r\n\r\n[14:07]N0CALL>こんにちは"));
  EXPECT_EQ(host->callsignReads, 3) << "once at start-up, then afresh for each line";
}

TEST_F(Sending, SendButtonSendsEmptiesAndFocusesTheInput) {
  StartInForeground();
  TypeText(L"hello");
  ASSERT_TRUE(PumpUntil([&] { return WindowText(Control(sInput)) == L"hello"; }));
  host->callsign = u"JA1ZZZ";
  Click(B_Send);
  EXPECT_EQ(host->sent, std::vector<Text>{u"hello"});
  EXPECT_EQ(WindowText(Control(sInput)), L"");
  EXPECT_EQ(GetFocus(), Control(sInput));
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]JA1ZZZ>hello");
  // The caption keeps the call sign read at start-up.
  EXPECT_EQ(WindowText(Window()), L"Rapporta! <N0CALL> Ver 0.0.29");
}

TEST_F(Sending, LineReceivedWhileTheHostIsInsideSendChatLandsBeforeTheEcho) {
  StartForm();
  host->duringSend = [&] { host->events->ChatTextReceived(u"incoming"); };
  SetWindowTextW(Control(sInput), L"out");
  Click(B_Send);
  EXPECT_EQ(LogBoxText(), L"\r\n\r\n[14:07]incoming\r\n\r\n[14:07]N0CALL>out");
}

TEST_F(Sending, TabVisitsTheControlsInOrderAndSkipsTheLog) {
  StartInForeground();
  std::vector<HWND> visited;
  for (int i = 0; i < 5; ++i) {
    const HWND before = GetFocus();
    PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() != before; }));
    visited.push_back(GetFocus());
  }
  EXPECT_EQ(visited, (std::vector<HWND>{Control(B_Send), Control(ui::C_Time),
                                        Control(ui::B_Clear), Control(ui::B_Save),
                                        Control(sInput)}));
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<no clipboard>";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

TEST_F(Sending, LogBoxKeysCopyAndEscapeOnlyEverythingElseChangesNothing) {
  StartInForeground();
  host->events->ChatTextReceived(u"hello world");
  const std::wstring log = LogBoxText();
  SetFocus(Control(lChat));
  SendMessageW(Control(lChat), EM_SETSEL, 11, 16);  // "hello"
  Pump();
  const auto selection = [&] {
    DWORD start = 0, end = 0;
    SendMessageW(Control(lChat), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return std::pair(start, end);
  };
  ASSERT_EQ(selection(), std::pair(DWORD{11}, DWORD{16}));

  SetClipboardText(L"pasted");
  PressKey('A');
  PressKey(VK_DELETE);
  PressKey(VK_BACK);
  PressKey(VK_LEFT);
  PressKey(VK_DOWN);
  PressKey(VK_END);
  PressKey(VK_RETURN);
  PressKey('A', {VK_CONTROL});
  PressKey('V', {VK_CONTROL});
  PressKey('X', {VK_CONTROL});
  PressKey(VK_INSERT, {VK_SHIFT});
  PressKey('C', {VK_CONTROL, VK_SHIFT});
  TypeText(L"typed");
  // The keyboard's ways into the box's own menu and into the window's menu
  // mode; each would then paste with P.
  for (const WORD key : {VK_APPS, VK_F10}) {
    for (const bool shift : {false, true}) {
      if (shift) PressKey(key, {VK_SHIFT});
      else PressKey(key);
      PressKey('P');
    }
  }
  PumpFor(300ms, Window());
  EXPECT_EQ(LogBoxText(), log);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
  EXPECT_EQ(gui.flags & GUI_INMENUMODE, 0u);
  EXPECT_EQ(selection(), std::pair(DWORD{11}, DWORD{16}));
  EXPECT_EQ(ClipboardText(), L"pasted");
  EXPECT_EQ(GetFocus(), Control(lChat));

  PressKey('C', {VK_CONTROL});
  EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == L"hello"; }));

  // The input method has no say in the box; the input keeps its own.
  EXPECT_EQ(ImmGetContext(Control(lChat)), nullptr);
  const HIMC inputContext = ImmGetContext(Control(sInput));
  EXPECT_NE(inputContext, nullptr);
  ImmReleaseContext(Control(sInput), inputContext);
  SendMessageW(Control(lChat), WM_IME_COMPOSITION, L'あ', GCS_RESULTSTR);
  SendMessageW(Control(lChat), WM_IME_CHAR, L'あ', 0);
  EXPECT_EQ(LogBoxText(), log);

  // A menu the mouse opens is worked with the keyboard: P pastes.
  SetClipboardText(L"pasted");
  RECT box{};
  GetWindowRect(Control(lChat), &box);
  PostMessageW(Control(lChat), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(lChat)),
               MAKELPARAM(box.left + 20, box.top + 20));
  PressKey('P');
  EXPECT_TRUE(PumpUntil([&] { return LogBoxText() != log; }));
  EXPECT_EQ(LogBoxText(), log.substr(0, 11) + L"pasted" + log.substr(16));

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control(sInput); }));
  EXPECT_NE(Window(), nullptr) << "Esc does not close the window";

  // Alt+F4 is the window's, wherever the focus is.
  SetFocus(Control(lChat));
  PressKey(VK_F4, {VK_MENU});
  EXPECT_TRUE(PumpUntil([&] { return Window() == nullptr; }));
}

}  // namespace
}  // namespace rapporta::test
