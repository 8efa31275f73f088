#include "save/write_whole_win.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "common/check_win.h"
#include "common/unique_win.h"

namespace rapporta::save {
namespace {

// A temporary file that goes away again unless it was moved into place.
class TemporaryFile {
 public:
  TemporaryFile(std::wstring path, HANDLE handle) : path_(std::move(path)), file_(handle) {}
  ~TemporaryFile() {
    file_.Reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  HANDLE Handle() const { return file_.Get(); }
  const std::wstring& Path() const { return path_; }
  void Close() { file_.Reset(); }
  // It has become the target.
  void Keep() { path_.clear(); }

 private:
  std::wstring path_;
  UniqueFile file_;
};

// A name in folder that no file has yet (the folder ends with a separator).
std::wstring FreshName(const std::wstring& folder) {
  static unsigned counter = 0;
  wchar_t name[40];
  std::swprintf(name, std::size(name), L"~rapporta%08lx.tmp",
                static_cast<unsigned long>(GetCurrentProcessId() * 7919u + GetTickCount() +
                                           ++counter * 104729u));
  return folder + name;
}

TemporaryFile CreateTemporary(const std::wstring& folder, DWORD attributes,
                              const FileCalls& calls) {
  for (int tries = 0;; ++tries) {
    std::wstring path = FreshName(folder);
    const HANDLE handle = calls.createNew(path, attributes);
    if (handle != INVALID_HANDLE_VALUE) return TemporaryFile(std::move(path), handle);
    if (GetLastError() != ERROR_FILE_EXISTS || tries == 100) ThrowLastError("CreateFileW");
  }
}

void WriteAll(const TemporaryFile& file, const std::string& bytes, const FileCalls& calls) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!calls.write(file.Handle(), bytes.data() + done, chunk, &written)) {
      ThrowLastError("WriteFile");
    }
    // Nothing written and no error: no room left either.
    if (written == 0) CheckHr(HRESULT_FROM_WIN32(ERROR_DISK_FULL), "WriteFile");
    done += written;
  }
}

void SwapIn(const std::wstring& target, TemporaryFile& file, const std::wstring& folder,
            const FileCalls& calls) {
  const std::wstring backup = FreshName(folder);
  if (calls.replace(target, file.Path(), backup)) {
    file.Keep();
    DeleteFileW(backup.c_str());
    return;
  }
  const DWORD error = GetLastError();
  // The old file was moved aside, and the new one could not take its name:
  // the old one goes back.
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  }
  SetLastError(error);
  ThrowLastError("ReplaceFileW");
}

std::wstring FullPath(const std::wstring& name) {
  const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) ThrowLastError("GetFullPathNameW");
  std::wstring path(size, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), size, path.data(), nullptr);
  if (length == 0 || length >= size) ThrowLastError("GetFullPathNameW");
  path.resize(length);
  return path;
}

}  // namespace

const FileCalls& SystemFileCalls() {
  static const FileCalls calls{
      [](const std::wstring& path, DWORD attributes) {
        return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                           nullptr);
      },
      [](HANDLE file, const char* bytes, DWORD size, DWORD* written) {
        return WriteFile(file, bytes, size, written, nullptr);
      },
      [](HANDLE file) { return FlushFileBuffers(file); },
      [](const std::wstring& target, const std::wstring& replacement, const std::wstring& backup) {
        return ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), 0, nullptr,
                            nullptr);
      },
      [](const std::wstring& from, const std::wstring& to) {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);
      },
  };
  return calls;
}

void WriteWhole(const std::wstring& target, const std::string& bytes, const FileCalls& calls) {
  const std::wstring path = FullPath(target);
  const std::wstring folder = path.substr(0, path.rfind(L'\\') + 1);
  const DWORD old = GetFileAttributesW(path.c_str());
  const bool exists = old != INVALID_FILE_ATTRIBUTES;
  // A folder of that name is not a file to replace; ReplaceFileW on Windows
  // refuses it so, where Wine's would move it aside.
  if (exists && (old & FILE_ATTRIBUTE_DIRECTORY)) {
    CheckHr(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), "ReplaceFileW");
  }
  // The new file is hidden or a system file as the old one was: Wine's
  // ReplaceFileW does not carry those over as Windows' does.
  const DWORD kept = exists ? old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
  TemporaryFile file = CreateTemporary(folder, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, calls);
  WriteAll(file, bytes, calls);
  if (!calls.flush(file.Handle())) ThrowLastError("FlushFileBuffers");
  file.Close();
  if (exists) {
    SwapIn(path, file, folder, calls);
    return;
  }
  if (!calls.move(file.Path(), path)) ThrowLastError("MoveFileExW");
  file.Keep();
}

}  // namespace rapporta::save
