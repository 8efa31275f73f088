#include "support/files_win.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace rapporta::test {

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

TempFolder::TempFolder() {
  static int made = 0;
  name_ = (std::filesystem::temp_directory_path() /
           (L"rapporta-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made)))
              .wstring();
  std::filesystem::create_directories(name_);
}

TempFolder::~TempFolder() {
  // Read-only files would stop the removal.
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(name_, error))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(name_, error);
}

}  // namespace rapporta::test
