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

class Identity : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(ExePath(), &handle);
    ASSERT_GT(size, 0u) << "no version record in " << ExePath();
    data.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(ExePath(), 0, size, data.data()));
  }
  std::wstring String(const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\041104B0\\" + name;
    if (!VerQueryValueW(data.data(), path.c_str(), &value, &length)) return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(value));
  }
  std::vector<unsigned char> data;
};

TEST_F(Identity, VersionRecordIsJapaneseUnicodeWithTheProgramsNamesAndVersion) {
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"ProductName", L"Rapporta"}, {L"InternalName", L"rapporta"},
      {L"OriginalFilename", L"rapporta.exe"}, {L"FileVersion", L"0.00.0029"},
      {L"ProductVersion", L"0.00.0029"},
      {L"LegalCopyright", L"Copyright (c) 2026 the Rapporta authors. MIT License."}};
  for (const auto& [name, value] : strings) EXPECT_EQ(String(name), value) << name;
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(*static_cast<const DWORD*>(value), MAKELONG(0x0411, 0x04B0));
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 0));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 29));
}

TEST_F(Identity, ManifestIsEmbedded) {
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
