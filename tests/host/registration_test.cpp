// The stand-in never takes the place of another program: it refuses to
// register over a class that names one, and keeps out of the way of a real
// host registered for the machine, as it does at every start on Windows.
// Run in a scratch Wine prefix, where the test registers such a host, with
// the switch that makes the stand-in check under Wine as well.
#include <string>

#include "processes_win.h"

namespace rapporta::test {
namespace {

constexpr wchar_t kClassKey[] =
    L"Software\\Classes\\CLSID\\{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}";
const std::wstring kServerKey = std::wstring(kClassKey) + L"\\LocalServer32";
constexpr wchar_t kRealHost[] = L"C:\\Program Files\\EchoLink\\EchoLink.exe";

// The HostApp class's LocalServer32 command under root, or empty.
std::wstring HostAppCommand(HKEY root) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  RegGetValueW(root, kServerKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
  return value;
}

TEST(StandinRegistration, NeverTakesAnotherProgramsPlaceAndStandsAsideForARealHost) {
  ASSERT_EQ(RunName(), L"scratch") << "registers a host for the machine: scratch prefix only";
  const std::wstring standin = WindowsPath(RAPPORTA_STANDIN_EXE);
  // The same program elsewhere is another program as far as the class goes.
  const std::wstring copy = standin + L".copy.exe";
  ASSERT_TRUE(CopyFileW(standin.c_str(), copy.c_str(), FALSE));
  const struct {
    const char* name;
    bool copy;  // else the stand-in as registered
    const wchar_t* arguments;
    bool realHost;   // registered for the machine after the stand-in
    bool person;     // a window to look at and close
    DWORD exitCode;  // 3: it stood aside or refused
    bool withdrawn;  // the user's registration is gone, else as it was
  } cases[] = {
      // COM waits for its server: no box may hold it up.
      {"started by COM", false, L"/shadowcheck -Embedding", true, false, 3, true},
      {"started by a person", false, L"/shadowcheck", true, true, 3, true},
      {"its own registration", false, L"/shadowcheck", false, true, 0, false},
      {"a copy registering over it", true, L"/regserver", false, false, 3, false},
      {"a copy removing it", true, L"/unregserver", false, false, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    ASSERT_EQ(Process(standin, L"/regserver").ExitCode(30000), 0u);
    const std::wstring user = HostAppCommand(HKEY_CURRENT_USER);
    if (c.realHost) {
      const std::wstring command = std::wstring(L"\"") + kRealHost + L"\" -automation";
      ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kServerKey.c_str(), nullptr, REG_SZ,
                                command.c_str(), (command.size() + 1) * sizeof(wchar_t)),
                ERROR_SUCCESS);
    }
    const std::wstring machine = HostAppCommand(HKEY_LOCAL_MACHINE);

    const Process program(c.copy ? copy : standin, c.arguments);
    if (c.person) {
      HWND window = program.WaitForWindow(L"RapportaStandinHost");
      ASSERT_TRUE(window);
      // A note names the real host it stands aside for.
      std::wstring notes;
      for (HWND child = nullptr; (child = FindWindowExW(window, child, L"STATIC", nullptr));) {
        notes += WindowText(child) + L"\n";
      }
      EXPECT_EQ(notes.find(kRealHost) != std::wstring::npos, c.exitCode == 3);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(program.ExitCode(10000), c.exitCode);
    EXPECT_EQ(HostAppCommand(HKEY_CURRENT_USER), c.withdrawn ? L"" : user);
    EXPECT_EQ(HostAppCommand(HKEY_LOCAL_MACHINE), machine) << "the machine's is never touched";
  }
  Process(standin, L"/unregserver").ExitCode(30000);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
  DeleteFileW(copy.c_str());
}

}  // namespace
}  // namespace rapporta::test
