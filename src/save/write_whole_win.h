#pragma once
// Replacing a file so that it is never half written: the whole new content
// goes to a temporary file in the same folder, is flushed to the disk, and
// only then takes the target's place.
#include <windows.h>

#include <functional>
#include <string>

namespace rapporta::save {

// The calls a save makes to the file system, each replaceable so that tests
// can make any one of them fail. Each reports failure as the system call does
// (FALSE or INVALID_HANDLE_VALUE, and the last error).
struct FileCalls {
  // A new file for writing, which nobody else may open meanwhile.
  std::function<HANDLE(const std::wstring& path, DWORD attributes)> createNew;
  std::function<BOOL(HANDLE file, const char* bytes, DWORD size, DWORD* written)> write;
  std::function<BOOL(HANDLE file)> flush;
  // ReplaceFileW, the old file moved to backup until the new one has its name.
  std::function<BOOL(const std::wstring& target, const std::wstring& replacement,
                     const std::wstring& backup)>
      replace;
  // MoveFileExW onto a name nothing has, written through.
  std::function<BOOL(const std::wstring& from, const std::wstring& to)> move;
};

// The system's own calls.
const FileCalls& SystemFileCalls();

// Replaces target whole with bytes, or creates it. The old file is never
// opened for writing; any failure leaves it byte for byte and no temporary
// file behind, and throws Failure naming the call.
// A read-only target is refused (ReplaceFileW refuses it: the user asked for
// it to be kept); a hidden or system one is replaced and stays so, since the
// user named it and agreed to replace it.
void WriteWhole(const std::wstring& target, const std::string& bytes,
                const FileCalls& calls = SystemFileCalls());

}  // namespace rapporta::save
