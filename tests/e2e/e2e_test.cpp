// The real rapporta.exe and the real stand-in host, out of process: what only
// real programs over real COM show. The rules behind each step are tested
// in the window's and the units' tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "common/bstr_win.h"
#include "rapporta_process_win.h"

namespace rapporta::testing {
namespace {

constexpr wchar_t kCaption[] = L"Rapporta! <N0CALL> Ver 0.0.29";

bool LogEndsWith(HWND log, const std::wstring& tail) {
  const auto text = WindowText(log);
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Whether the process has loaded a library of this name; false too when its
// modules cannot be listed, which the test's own check of user32 catches.
bool HasLoaded(HANDLE process, const wchar_t* name) {
  HMODULE modules[1024];
  DWORD bytes = 0;
  if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) {
    return false;
  }
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
    wchar_t base[MAX_PATH] = {};
    GetModuleBaseNameW(process, modules[i], base, MAX_PATH);
    if (lstrcmpiW(base, name) == 0) return true;
  }
  return false;
}

class EndToEnd : public RunningRapporta {};

// The save dialog's library, and shell32 behind it, cost start-up time and
// memory that most sessions never use: they come with the first save.
TEST_F(EndToEnd, TheSaveDialogsLibrariesAreLoadedByTheFirstSaveNotAtStartUp) {
  ASSERT_TRUE(HasLoaded(rapporta_.Handle(), L"user32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta_.Handle(), L"comdlg32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta_.Handle(), L"shell32.dll"));
  ClickSave(form_);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = rapporta_.VisibleWindow(L"#32770")) != nullptr; }));
  EXPECT_TRUE(HasLoaded(rapporta_.Handle(), L"comdlg32.dll"));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return rapporta_.VisibleWindow(L"#32770") == nullptr; }));
  EXPECT_FALSE(rapporta_.Ended(300));
}

TEST_F(EndToEnd, ALineRaisedInsideSendChatLandsBeforeTheEcho) {
  Bstr meanwhile(u"meanwhile");
  Check(standin_.Control().RaiseInNextSend(meanwhile.Get()), "RaiseInNextSend");
  SendLine(form_, L"mine");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(log_, L"]N0CALL>mine"); }));
  const auto log = WindowText(log_);
  const auto received = log.find(L"]meanwhile");
  ASSERT_NE(received, std::wstring::npos);
  EXPECT_LT(received, log.find(L"]N0CALL>mine"));
}

TEST_F(EndToEnd, ClosingEndsTheProgramAndTheHostIsLeftWithNothingOfIt) {
  SendMessageW(ControlOf(form_, ui::sInput), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"typed, never sent"));
  EXPECT_EQ(standin_.SinkCount(), 1);
  Check(standin_.Control().RaiseClosing(), "RaiseClosing");
  EXPECT_TRUE(rapporta_.Ended(10000));
  ExpectHostHoldsNothing();
  EXPECT_TRUE(standin_.SentLines().empty());
  // Nothing is left running: with the test's own hold gone, the host ends.
  EXPECT_TRUE(standin_.ReleaseAndWaitForExit(5000));
}

// What a person does: chat through the stand-in's own window.
// The package test runs this one on the program taken out of the zip.
TEST_F(EndToEnd, APersonChatsThroughTheHostsWindow) {
  EXPECT_EQ(WindowText(form_), kCaption);
  HWND host = VisibleWindowOf(standin_.ProcessId(), L"RapportaStandinHost");
  ASSERT_TRUE(host);
  // Its edits in order: the call sign, then the line to receive.
  HWND callsign = FindWindowExW(host, nullptr, L"EDIT", nullptr);
  HWND receive = FindWindowExW(host, callsign, L"EDIT", nullptr);
  HWND sent = FindWindowExW(host, nullptr, L"LISTBOX", nullptr);
  ASSERT_TRUE(callsign && receive && sent);
  EXPECT_EQ(WindowText(callsign), L"N0CALL");

  SendMessageW(receive, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"hi from the host"));
  PostMessageW(FindChild(host, L"BUTTON", L"Receive"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(log_, L"]hi from the host"); }));
  EXPECT_EQ(WindowText(receive), L"");

  SendMessageW(callsign, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"JA1XYZ"));
  SendLine(form_, L"hi back");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(log_, L"]JA1XYZ>hi back"); }));
  EXPECT_EQ(WindowText(form_), kCaption) << "the caption keeps the call sign of start-up";
  ASSERT_EQ(SendMessageW(sent, LB_GETCOUNT, 0, 0), 1);
  wchar_t line[64] = {};
  SendMessageW(sent, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, L"hi back");

  PostMessageW(FindChild(host, L"BUTTON", L"Close host"), BM_CLICK, 0, 0);
  EXPECT_TRUE(rapporta_.Ended(10000));
  EXPECT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);
}

TEST(EndToEndStartup, NoWindowIsVisibleUntilStartupHasFinished) {
  ComApartment apartment;
  StandinSession standin;
  Check(standin.Control().DelayNextCall(1500), "DelayNextCall");
  RapportaProcess rapporta;
  const DWORD start = GetTickCount();
  bool seen = false;
  while (GetTickCount() - start < 1200) {
    seen = seen || rapporta.VisibleWindow(nullptr) != nullptr;
    Sleep(20);
  }
  EXPECT_FALSE(seen);
  ASSERT_TRUE(rapporta.ConnectedForm());
}

// Nothing runs before Rapporta: its start-up starts the host.
TEST(EndToEndStartup, StartingRapportaStartsTheHost) {
  ComApartment apartment;
  const DWORD start = GetTickCount();
  RapportaProcess rapporta;
  HWND form = rapporta.ConnectedForm();
  ASSERT_TRUE(form);
  std::printf("launch to visible connected window, host not running: %lu ms\n",
              GetTickCount() - start);
  EXPECT_EQ(WindowText(form), kCaption);
  StandinSession standin;  // the host Rapporta started
  EXPECT_EQ(standin.SinkCount(), 1);
}

}  // namespace
}  // namespace rapporta::testing
