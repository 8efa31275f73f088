// The real rapporta.exe and the real stand-in host, out of process: what only
// real programs over real COM show. The rules behind each step are tested
// in the window's and the units' tests.
#include "processes_win.h"

namespace rapporta::test {
namespace {

constexpr wchar_t kCaption[] = L"Rapporta! <N0CALL> Ver 0.0.29";

using EndToEnd = RunningRapporta;

// What a person does: chat through the stand-in's own window.
// The package test runs this one on the program taken out of the zip.
TEST_F(EndToEnd, APersonChatsThroughTheHostsWindow) {
  HWND host = standin_.Program().Window(L"RapportaStandinHost");
  ASSERT_TRUE(host);
  // Its edits in order: the call sign, then the line to receive.
  HWND callsign = FindWindowExW(host, nullptr, L"EDIT", nullptr);
  HWND receive = FindWindowExW(host, callsign, L"EDIT", nullptr);
  ASSERT_TRUE(callsign && receive);
  SetText(receive, L"hi from the host");
  PostMessageW(FindWindowExW(host, nullptr, L"BUTTON", L"Receive"), BM_CLICK, 0, 0);
  const std::wstring received = L"\r\n\r\n[00:00]hi from the host";
  ASSERT_TRUE(Shows(received));
  SetText(callsign, L"JA1XYZ");
  SendLine(form_, L"hi back");
  ASSERT_TRUE(Shows(received + L"\r\n\r\n[00:00]JA1XYZ>hi back"));
  EXPECT_EQ(WindowText(form_), kCaption) << "the caption keeps the call sign of start-up";
  EXPECT_EQ(standin_.SentLines(), std::vector<Text>{u"hi back"});

  // The host closing while Rapporta is idle: its Closing call returns at
  // once, and both programs end.
  PostMessageW(FindWindowExW(host, nullptr, L"BUTTON", L"Close host"), BM_CLICK, 0, 0);
  EXPECT_TRUE(rapporta_.Ended(5000));
  EXPECT_TRUE(standin_.Program().Ended(5000));
}

}  // namespace
}  // namespace rapporta::test
