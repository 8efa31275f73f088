#pragma once
// Files for tests: a fresh folder and the bytes of a file.
#include <windows.h>

#include <string>

namespace rapporta::test {

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// A new folder under %TEMP%, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Name() const { return name_; }
  std::wstring Path(const std::wstring& file) const { return name_ + L"\\" + file; }

 private:
  std::wstring name_;
};

}  // namespace rapporta::test
