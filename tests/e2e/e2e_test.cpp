// The real rapporta.exe and the real stand-in host, out of process.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "common/bstr_win.h"
#include "rapporta_process_win.h"

namespace rapporta::testing {
namespace {

constexpr wchar_t kCaption[] = L"Rapporta! <N0CALL> Ver 0.0.29";

// The window once start-up has finished: visible, caption written.
HWND Connected(RapportaProcess& rapporta) {
  HWND form = nullptr;
  WaitFor([&] {
    form = rapporta.VisibleWindow();
    return form && WindowText(form).rfind(L"Rapporta!", 0) == 0;
  });
  return form;
}

HWND Log(HWND form) { return FindChild(form, L"EDIT", ES_MULTILINE); }

HWND Input(HWND form) {
  for (HWND edit = FindWindowExW(form, nullptr, L"EDIT", nullptr); edit;
       edit = FindWindowExW(form, edit, L"EDIT", nullptr)) {
    if (!(GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE)) return edit;
  }
  return nullptr;
}

void Send(HWND form, const wchar_t* text) {
  SendMessageW(Input(form), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  PostMessageW(FindChild(form, L"BUTTON", 0, L"Send"), BM_CLICK, 0, 0);
}

bool LogEndsWith(HWND form, const std::wstring& tail) {
  const auto log = WindowText(Log(form));
  return log.size() >= tail.size() &&
         log.compare(log.size() - tail.size(), tail.size(), tail) == 0;
}

// A message box of the process: its text, once it is up.
std::wstring MessageBoxText(RapportaProcess& process, HWND* box) {
  WaitFor([&] { return (*box = process.VisibleWindow(L"#32770")) != nullptr; });
  return *box ? WindowText(GetDlgItem(*box, 0xffff)) : std::wstring();
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

class EndToEnd : public ::testing::Test {
 protected:
  ComApartment apartment_;
  StandinSession standin_;
};

TEST_F(EndToEnd, StartsConnectedWithTheCallsignInTheCaption) {
  const DWORD start = GetTickCount();
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  std::printf("launch to visible connected window, host running: %lu ms\n", GetTickCount() - start);
  EXPECT_EQ(WindowText(form), kCaption);
  EXPECT_EQ(standin_.SinkCount(), 1);
}

// The save dialog's library, and shell32 behind it, cost start-up time and
// memory that most sessions never use: they come with the first save.
TEST_F(EndToEnd, TheSaveDialogsLibrariesAreLoadedByTheFirstSaveNotAtStartUp) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  ASSERT_TRUE(HasLoaded(rapporta.Handle(), L"user32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta.Handle(), L"comdlg32.dll"));
  EXPECT_FALSE(HasLoaded(rapporta.Handle(), L"shell32.dll"));
  PostMessageW(FindChild(form, L"BUTTON", 0, L"保存"), BM_CLICK, 0, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = rapporta.VisibleWindow(L"#32770")) != nullptr; }));
  EXPECT_TRUE(HasLoaded(rapporta.Handle(), L"comdlg32.dll"));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return rapporta.VisibleWindow(L"#32770") == nullptr; }));
  EXPECT_FALSE(rapporta.Ended(300));
}

TEST_F(EndToEnd, AnEmptyCallsignGivesEmptyBrackets) {
  standin_.SetCallsign(u"");
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), L"Rapporta! <> Ver 0.0.29");
}

TEST_F(EndToEnd, NoWindowIsVisibleUntilStartupHasFinished) {
  Check(standin_.Control().DelayNextCall(1500), "DelayNextCall");
  RapportaProcess rapporta;
  const DWORD start = GetTickCount();
  bool seen = false;
  while (GetTickCount() - start < 1200) {
    seen = seen || rapporta.AnyVisibleWindow();
    Sleep(20);
  }
  EXPECT_FALSE(seen);
  ASSERT_TRUE(Connected(rapporta));
}

TEST_F(EndToEnd, InjectedTextLandsInTheLogWithTheTimePrefix) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  const DWORD start = GetTickCount();
  standin_.Inject(u"hello from the host");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]hello from the host"); }));
  std::printf("injected line to log: %lu ms\n", GetTickCount() - start);
  const auto log = WindowText(Log(form));
  // CR LF CR LF [HH:MM]text
  ASSERT_GE(log.size(), 11u);
  const auto entry = log.substr(log.size() - std::wstring(L"[00:00]hello from the host").size() - 4);
  EXPECT_EQ(entry.substr(0, 5), L"\r\n\r\n[");
  EXPECT_EQ(entry[7], L':');
  EXPECT_EQ(entry[10], L']');
}

TEST_F(EndToEnd, ASentLineReachesTheHostAndEchoesTheCallsignReadAfresh) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  Send(form, L"first");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]N0CALL>first"); }));
  standin_.SetCallsign(u"JA1ABC");
  Send(form, L"second");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]JA1ABC>second"); }));
  EXPECT_EQ(standin_.SentLines(), (std::vector<Text>{u"first", u"second"}));
  EXPECT_EQ(WindowText(form), kCaption);
  EXPECT_EQ(WindowText(Input(form)), L"");
}

TEST_F(EndToEnd, ALineRaisedInsideSendChatLandsBeforeTheEcho) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  Bstr meanwhile(u"meanwhile");
  Check(standin_.Control().RaiseInNextSend(meanwhile.Get()), "RaiseInNextSend");
  Send(form, L"mine");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]N0CALL>mine"); }));
  const auto log = WindowText(Log(form));
  const auto received = log.find(L"]meanwhile");
  ASSERT_NE(received, std::wstring::npos);
  EXPECT_LT(received, log.find(L"]N0CALL>mine"));
}

TEST_F(EndToEnd, ClosingClosesTheWindowAndEndsTheProgram) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  SendMessageW(Input(form), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed, never sent"));
  Check(standin_.Control().RaiseClosing(), "RaiseClosing");
  EXPECT_TRUE(rapporta.Ended(10000));
  EXPECT_TRUE(WaitFor([&] { return standin_.SinkCount() == 0; }, 5000));
  EXPECT_TRUE(standin_.SentLines().empty());
  EXPECT_EQ(standin_.HostAppsAlive(), 0);
  EXPECT_EQ(standin_.StationsAlive(), 0);
  // Nothing is left running: with the test's own hold gone, the host ends.
  EXPECT_TRUE(standin_.ReleaseAndWaitForExit(5000));
}

TEST_F(EndToEnd, AVanishedHostFailsTheNextSendAndTheProgramKeepsItsLog) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  standin_.Inject(u"before");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]before"); }));
  const auto log = WindowText(Log(form));
  Check(standin_.Control().Vanish(), "Vanish");
  ASSERT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);
  Send(form, L"into the void");
  HWND box = nullptr;
  EXPECT_NE(MessageBoxText(rapporta, &box).find(L"HostApp.SendChat"), std::wstring::npos);
  ASSERT_TRUE(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return rapporta.VisibleWindow(L"#32770") == nullptr; }));
  EXPECT_FALSE(rapporta.Ended(500));
  EXPECT_EQ(WindowText(Log(form)), log);
}

TEST_F(EndToEnd, ASecondInstanceSaysSoAndLeavesTheFirstAlone) {
  RapportaProcess first;
  HWND form = Connected(first);
  ASSERT_TRUE(form);
  RapportaProcess second;
  HWND box = nullptr;
  EXPECT_EQ(MessageBoxText(second, &box), L"既に起動しています");
  ASSERT_TRUE(box);
  EXPECT_EQ(WindowText(box), L"Rapporta");
  EXPECT_EQ(second.VisibleWindow(), nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.Ended(10000));
  EXPECT_EQ(standin_.SinkCount(), 1);
  EXPECT_FALSE(first.Ended());
  EXPECT_EQ(WindowText(form), kCaption);
}

// What a person does: chat through the stand-in's own window.
// The package test runs this one on the program taken out of the zip.
TEST_F(EndToEnd, APersonChatsThroughTheHostsWindow) {
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  EXPECT_EQ(WindowText(form), kCaption);
  HWND host = VisibleWindowOf(standin_.ProcessId(), L"RapportaStandinHost");
  ASSERT_TRUE(host);
  // Its edits in order: the call sign, then the line to receive.
  HWND callsign = FindWindowExW(host, nullptr, L"EDIT", nullptr);
  HWND receive = FindWindowExW(host, callsign, L"EDIT", nullptr);
  HWND sent = FindWindowExW(host, nullptr, L"LISTBOX", nullptr);
  ASSERT_TRUE(callsign && receive && sent);
  EXPECT_EQ(WindowText(callsign), L"N0CALL");

  SendMessageW(receive, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"hi from the host"));
  PostMessageW(FindChild(host, L"BUTTON", 0, L"Receive"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]hi from the host"); }));
  EXPECT_EQ(WindowText(receive), L"");

  SendMessageW(callsign, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"JA1XYZ"));
  Send(form, L"hi back");
  ASSERT_TRUE(WaitFor([&] { return LogEndsWith(form, L"]JA1XYZ>hi back"); }));
  ASSERT_EQ(SendMessageW(sent, LB_GETCOUNT, 0, 0), 1);
  wchar_t line[64] = {};
  SendMessageW(sent, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_STREQ(line, L"hi back");

  PostMessageW(FindChild(host, L"BUTTON", 0, L"Close host"), BM_CLICK, 0, 0);
  EXPECT_TRUE(rapporta.Ended(10000));
  EXPECT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);
}

TEST_F(EndToEnd, AHostThatCannotBeCreatedIsReportedAndTheProgramEnds) {
  Check(standin_.Control().FailNextCall(static_cast<long>(0x80080005)), "FailNextCall");
  RapportaProcess rapporta;
  HWND box = nullptr;
  EXPECT_NE(MessageBoxText(rapporta, &box).find(L"0x80080005"), std::wstring::npos);
  ASSERT_TRUE(box);
  EXPECT_EQ(rapporta.VisibleWindow(), nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(rapporta.Ended(10000));
  EXPECT_EQ(standin_.SinkCount(), 0);
}

// Nothing runs before Rapporta: its start-up starts the host.
TEST(EndToEndColdStart, StartingRapportaStartsTheHost) {
  ComApartment apartment;
  const DWORD start = GetTickCount();
  RapportaProcess rapporta;
  HWND form = Connected(rapporta);
  ASSERT_TRUE(form);
  std::printf("launch to visible connected window, host not running: %lu ms\n",
              GetTickCount() - start);
  EXPECT_EQ(WindowText(form), kCaption);
  StandinSession standin;  // the host Rapporta started
  EXPECT_EQ(standin.SinkCount(), 1);
}

}  // namespace
}  // namespace rapporta::testing
