// The real rapporta.exe and the real stand-in host, out of process: what only
// real programs over real COM show. The rules behind each step are tested
// in the window's and the units' tests.
#include "processes_win.h"

#include <psapi.h>

#include <algorithm>

namespace rapporta::test {
namespace {

constexpr wchar_t kCaption[] = L"Rapporta! <N0CALL> Ver 0.0.29";

// Whether the process has loaded a library of this name; false too when its
// modules cannot be listed, which the test's own check of user32 catches.
bool HasLoaded(HANDLE process, const wchar_t* name) {
  HMODULE modules[1024];
  DWORD bytes = 0;
  EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL);
  wchar_t base[MAX_PATH];
  const auto end = modules + std::min<DWORD>(bytes / sizeof(HMODULE), 1024);
  return std::any_of(modules, end, [&](HMODULE m) {
    return GetModuleBaseNameW(process, m, base, MAX_PATH) && lstrcmpiW(base, name) == 0;
  });
}

using EndToEnd = RunningRapporta;

// The save dialog's library, and shell32 behind it, cost start-up time and
// memory that most sessions never use: they come with the first save.
TEST_F(EndToEnd, TheSaveDialogsLibrariesAreLoadedByTheFirstSaveNotAtStartUp) {
  ASSERT_TRUE(HasLoaded(rapporta_.Handle(), L"user32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta_.Handle(), L"comdlg32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta_.Handle(), L"shell32.dll"));
  PostMessageW(ControlOf(form_, ui::B_Save), BM_CLICK, 0, 0);
  HWND dialog = rapporta_.WaitForWindow(L"#32770");
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(HasLoaded(rapporta_.Handle(), L"comdlg32.dll"));
  Press(dialog, IDCANCEL);
}

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

// Nothing runs before Rapporta: its start-up starts the host, which takes
// Wine about a second, and its window shows only once it is connected.
TEST(EndToEndStartup, StartingRapportaStartsTheHostAndShowsTheWindowOnlyOnceConnected) {
  ComApartment apartment;
  Rapporta rapporta;
  HWND form = rapporta.WaitForWindow(nullptr);
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), kCaption) << "visible before it was connected";
  StandinSession standin;  // the host Rapporta started
  EXPECT_EQ(standin.Read(&IStandinControl::get_SinkCount), 1);
}

}  // namespace
}  // namespace rapporta::test
