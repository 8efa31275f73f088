// The stand-in keeps out of the way of a real host registered for the
// machine, as it does at every start on Windows. Run in a scratch Wine
// prefix, where the test registers such a host, with the switch that makes
// the stand-in check under Wine as well.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "rapporta_process_win.h"
#include "standin_session_win.h"

namespace rapporta::testing {
namespace {

constexpr wchar_t kClassKey[] =
    L"Software\\Classes\\CLSID\\{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}";
constexpr wchar_t kRealHost[] = L"C:\\Program Files\\EchoLink\\EchoLink.exe";

std::wstring NoteOf(HWND window) {
  std::wstring texts;
  for (HWND child = FindWindowExW(window, nullptr, L"STATIC", nullptr); child;
       child = FindWindowExW(window, child, L"STATIC", nullptr)) {
    texts += WindowText(child) + L"\n";
  }
  return texts;
}

TEST(StandinShadowing, StandsAsideForARealHostForTheMachineAndForNothingElse) {
  ASSERT_EQ(RunName(), L"scratch") << "registers a host for the machine: scratch prefix only";
  const std::wstring standin = WindowsPath(RAPPORTA_STANDIN_EXE);
  const struct {
    const char* name;
    const wchar_t* arguments;
    bool realHost;  // registered for the machine after the stand-in
    bool person;    // a window to look at and close
    DWORD exitCode;
  } cases[] = {
      // COM waits for its server: no box may hold it up.
      {"started by COM", L"/shadowcheck -Embedding", true, false, 3},
      {"started by a person", L"/shadowcheck", true, true, 3},
      {"its own registration", L"/shadowcheck", false, true, 0},
      {"under Wine without the switch", L"", true, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    ASSERT_EQ(RunProgram(standin, L"/regserver"), 0u);
    if (c.realHost) {
      const std::wstring command = std::wstring(L"\"") + kRealHost + L"\" -automation";
      const std::wstring key = kClassKey + std::wstring(L"\\LocalServer32");
      ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, command.c_str(),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                ERROR_SUCCESS);
    }
    const std::wstring machine = HostAppCommand(HKEY_LOCAL_MACHINE);

    const auto program = StartProgram(standin, c.arguments);
    if (c.person) {
      HWND window = nullptr;
      ASSERT_TRUE(WaitFor([&] {
        return (window = VisibleWindowOf(program.id, L"RapportaStandinHost")) != nullptr;
      }));
      EXPECT_EQ(NoteOf(window).find(kRealHost) != std::wstring::npos, c.exitCode == 3);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(ExitCodeWithin(program.process.Get(), 10000), c.exitCode);
    // Standing aside withdraws the user's registration and leaves the
    // machine's as it was.
    EXPECT_EQ(HostAppCommand(HKEY_CURRENT_USER).empty(), c.exitCode == 3);
    EXPECT_EQ(HostAppCommand(HKEY_LOCAL_MACHINE), machine);
  }
  RunProgram(standin, L"/unregserver");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
}

}  // namespace
}  // namespace rapporta::testing
