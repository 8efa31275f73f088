// The program's identity as Windows reads it from rapporta.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The package test points the suite at the program taken out of the zip.
const wchar_t* ExePath() {
  const wchar_t* chosen = _wgetenv(L"RAPPORTA_EXE");
  return chosen ? chosen : RAPPORTA_EXE_PATH;
}

TEST(Identity, VersionRecordIsJapaneseUnicodeWithTheProgramsNamesAndVersion) {
  DWORD handle = 0;
  std::vector<unsigned char> data(GetFileVersionInfoSizeW(ExePath(), &handle));
  ASSERT_FALSE(data.empty()) << "no version record in " << ExePath();
  ASSERT_TRUE(GetFileVersionInfoW(ExePath(), 0, static_cast<DWORD>(data.size()), data.data()));
  const auto query = [&](const std::wstring& path) -> const void* {
    void* value = nullptr;
    UINT length = 0;
    return VerQueryValueW(data.data(), path.c_str(), &value, &length) ? value : nullptr;
  };
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"ProductName", L"Rapporta"}, {L"InternalName", L"rapporta"},
      {L"FileDescription", L"Rapporta - EchoLink chat window"},
      {L"CompanyName", L"The Rapporta authors"},
      {L"OriginalFilename", L"rapporta.exe"}, {L"FileVersion", L"0.00.0029"},
      {L"ProductVersion", L"0.00.0029"},
      {L"LegalCopyright", L"Copyright (c) 2026 the Rapporta authors. MIT License."}};
  for (const auto& [name, value] : strings) {
    const std::wstring path = L"\\StringFileInfo\\041104B0\\" + std::wstring(name);
    EXPECT_STREQ(static_cast<const wchar_t*>(query(path)), value);
  }
  // Explorer finds the strings by the language and code page given here.
  const auto* translation = static_cast<const DWORD*>(query(L"\\VarFileInfo\\Translation"));
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(*translation, MAKELONG(0x0411, 0x04B0));
}

TEST(Identity, ManifestIsEmbedded) {
  const HMODULE exe = LoadLibraryExW(ExePath(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  const HRSRC manifest = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                         SizeofResource(exe, manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
  FreeLibrary(exe);
}

}  // namespace
