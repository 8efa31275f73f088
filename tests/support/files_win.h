#pragma once
// Files for tests: a fresh folder and the bytes of a file.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace rapporta::test {

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// A new folder under %TEMP%, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    static int made = 0;
    name_ = (std::filesystem::temp_directory_path() /
             (L"rapporta-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made)))
                .wstring();
    std::filesystem::create_directories(name_);
  }
  ~TempFolder() {
    // Read-only files would stop the removal.
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(name_, error))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(name_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Name() const { return name_; }
  std::wstring Path(const std::wstring& file) const { return name_ + L"\\" + file; }

 private:
  std::wstring name_;
};

}  // namespace rapporta::test
