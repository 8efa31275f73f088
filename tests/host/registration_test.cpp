// The stand-in never registers over a class that names another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "standin/registration_win.h"

namespace rapporta::testing {
namespace {

std::wstring WindowsPath(const char* path) {
  std::wstring wide(path, path + std::char_traits<char>::length(path));
  return !wide.empty() && wide[0] == L'/' ? L"Z:" + wide : wide;
}

std::wstring HostAppServer() {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER,
               L"Software\\Classes\\CLSID\\{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}\\LocalServer32",
               nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
  return value;
}

DWORD RunProgram(const std::wstring& exe, const wchar_t* argument) {
  std::wstring command = L"\"" + exe + L"\" " + argument;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return static_cast<DWORD>(-1);
  }
  WaitForSingleObject(info.hProcess, 30000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return code;
}

TEST(StandinRegistration, IsRefusedOverAClassThatNamesAnotherProgram) {
  const std::wstring original = WindowsPath(RAPPORTA_STANDIN_EXE);
  const std::wstring before = HostAppServer();
  ASSERT_NE(before.find(L"echolink_standin.exe"), std::wstring::npos);

  // The same program elsewhere is another program as far as the class goes.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"rapporta-foreign-host";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\echolink_standin.exe";
  ASSERT_TRUE(CopyFileW(original.c_str(), copy.c_str(), FALSE));

  EXPECT_EQ(RunProgram(copy, L"/regserver"), 3u);
  EXPECT_EQ(HostAppServer(), before);
  EXPECT_EQ(RunProgram(copy, L"/unregserver"), 0u);
  EXPECT_EQ(HostAppServer(), before);  // not its registration to remove
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(StandinRegistration, ReadsTheProgramOutOfAServerCommand) {
  using standin::ServerPath;
  EXPECT_EQ(ServerPath(L"\"C:\\Program Files\\EchoLink\\EchoLink.exe\" /automation"),
            L"C:\\Program Files\\EchoLink\\EchoLink.exe");
  // Unquoted paths may hold spaces; the program ends at ".exe".
  EXPECT_EQ(ServerPath(L"C:\\Program Files\\EchoLink\\EchoLink.EXE -Automation"),
            L"C:\\Program Files\\EchoLink\\EchoLink.EXE");
  EXPECT_EQ(ServerPath(L"  \"Z:\\b\\echolink_standin.exe\""), L"Z:\\b\\echolink_standin.exe");
  EXPECT_EQ(ServerPath(L"C:\\tools\\host /x"), L"C:\\tools\\host");
  EXPECT_EQ(ServerPath(L"\"C:\\unterminated"), L"C:\\unterminated");
  EXPECT_EQ(ServerPath(L""), L"");
  EXPECT_EQ(ServerPath(L"   "), L"");
}

}  // namespace
}  // namespace rapporta::testing
