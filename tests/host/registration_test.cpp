// The stand-in never registers over a class that names another program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "standin_session_win.h"

namespace rapporta::testing {
namespace {

TEST(StandinRegistration, IsRefusedOverAClassThatNamesAnotherProgram) {
  const std::wstring original = WindowsPath(RAPPORTA_STANDIN_EXE);
  const std::wstring before = HostAppCommand(HKEY_CURRENT_USER);
  ASSERT_NE(before.find(L"echolink_standin.exe"), std::wstring::npos);

  // The same program elsewhere is another program as far as the class goes.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"rapporta-foreign-host";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\echolink_standin.exe";
  ASSERT_TRUE(CopyFileW(original.c_str(), copy.c_str(), FALSE));

  EXPECT_EQ(RunProgram(copy, L"/regserver"), 3u);
  EXPECT_EQ(HostAppCommand(HKEY_CURRENT_USER), before);
  EXPECT_EQ(RunProgram(copy, L"/unregserver"), 0u);
  EXPECT_EQ(HostAppCommand(HKEY_CURRENT_USER), before);  // not its registration to remove
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace rapporta::testing
