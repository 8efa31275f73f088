// Replacing a file whole or not at all: a failure at each step, and targets
// that cannot be replaced, leave the old file byte for byte and nothing else.
#include "save/write_whole_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "common/failure.h"
#include "common/unique_win.h"
#include "support/files_win.h"

namespace rapporta::save {
namespace {

// What the folder holds, by name.
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName != std::wstring_view(L".") && found.cFileName != std::wstring_view(L".."))
      names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

const std::vector<std::wstring> kJustTheTarget{L"chat.txt"};

BOOL Refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Each step made to fail in turn, onto an existing file and onto a new name.
TEST(WriteWhole, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
  const auto failWrite = [](int failing, DWORD shortBy) {
    return [failing, shortBy](FileCalls& calls, int& writes) {
      calls.write = [&writes, failing, shortBy](HANDLE file, const char* bytes, DWORD size,
                                                DWORD* written) {
        if (++writes == failing) return Refuse(ERROR_IO_DEVICE);
        // Short writes before it, so the failing one is not the first.
        return WriteFile(file, bytes, std::min(size, shortBy), written, nullptr);
      };
    };
  };
  const struct {
    const char* name;
    const char* operation;  // as reported; empty: the swap's
    std::function<void(FileCalls&, int& writes)> fail;
    bool newFileToo = true;  // a new name takes no ReplaceFileW
  } steps[] = {
      {"creating the temporary file", "CreateFileW", [](FileCalls& calls, int&) {
         calls.createNew = [](const std::wstring&, DWORD) {
           Refuse(ERROR_ACCESS_DENIED);
           return INVALID_HANDLE_VALUE;
         };
       }},
      {"the first write", "WriteFile", failWrite(1, MAXDWORD)},
      {"the third write", "WriteFile", failWrite(3, 7)},
      {"a write that writes nothing", "WriteFile", [](FileCalls& calls, int&) {
         calls.write = [](HANDLE, const char*, DWORD, DWORD* written) {
           *written = 0;
           return TRUE;
         };
       }},
      {"the flush", "FlushFileBuffers",
       [](FileCalls& calls, int&) { calls.flush = [](HANDLE) { return Refuse(ERROR_IO_DEVICE); }; }},
      {"the swap", "", [](FileCalls& calls, int&) {
         calls.replace = [](auto&, auto&, auto&) { return Refuse(ERROR_SHARING_VIOLATION); };
         calls.move = [](auto&, auto&) { return Refuse(ERROR_ACCESS_DENIED); };
       }},
      {"the swap, the old file already moved aside", "", [](FileCalls& calls, int&) {
         calls.replace = [](const std::wstring& target, auto&, const std::wstring& backup) {
           MoveFileExW(target.c_str(), backup.c_str(), 0);
           return Refuse(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
         };
       }, false},
  };
  for (const auto& step : steps) {
    for (const bool existing : {true, false}) {
      if (!existing && !step.newFileToo) continue;
      SCOPED_TRACE(std::string(step.name) + (existing ? ", onto a file" : ", a new file"));
      const test::TempFolder folder;
      const std::wstring target = folder.Path(L"chat.txt");
      if (existing) test::WriteBytes(target, "the old log");
      FileCalls calls = SystemFileCalls();
      int writes = 0;
      step.fail(calls, writes);
      try {
        WriteWhole(target, "\r\n\r\na new log, longer than the old one", calls);
        ADD_FAILURE() << "no failure";
      } catch (const Failure& failure) {
        const std::string swap = existing ? "ReplaceFileW" : "MoveFileExW";
        EXPECT_EQ(failure.Operation(), *step.operation ? step.operation : swap);
      }
      EXPECT_EQ(test::ReadBytes(target), existing ? "the old log" : "");
      EXPECT_EQ(FilesIn(folder.Name()), existing ? kJustTheTarget : std::vector<std::wstring>{});
    }
  }
}

// Hidden and system files are replaced and stay so; a read-only file, one
// another program holds open without sharing it for deleting, a folder, and
// a folder gone meanwhile are refused and left as they were.
TEST(WriteWhole, TargetsThatCannotBeReplacedAreRefusedAndLeftAsTheyWere) {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  constexpr DWORD kNotHeld = MAXDWORD;
  const struct {
    const char* what;
    const wchar_t* name;
    DWORD attributes;  // of the old file; FILE_ATTRIBUTE_DIRECTORY: a folder
    DWORD heldSharing;
    const char* operation;  // refused by; null: replaced
    DWORD error;
  } targets[] = {
      {"a file", L"chat.txt", 0, kNotHeld, nullptr, 0},
      {"a hidden file", L"chat.txt", FILE_ATTRIBUTE_HIDDEN, kNotHeld, nullptr, 0},
      {"a system file", L"chat.txt", FILE_ATTRIBUTE_SYSTEM, kNotHeld, nullptr, 0},
      {"a file held open, shared for all", L"chat.txt", 0, kShareAll, nullptr, 0},
      {"a read-only file", L"chat.txt", FILE_ATTRIBUTE_READONLY, kNotHeld, "ReplaceFileW",
       ERROR_ACCESS_DENIED},
      {"a file held open for reading", L"chat.txt", 0, FILE_SHARE_READ, "ReplaceFileW",
       ERROR_SHARING_VIOLATION},
      {"a folder", L"chat.txt", FILE_ATTRIBUTE_DIRECTORY, kNotHeld, "ReplaceFileW",
       ERROR_ACCESS_DENIED},
      {"in a folder gone meanwhile", L"gone\\chat.txt", 0, kNotHeld, "CreateFileW",
       ERROR_PATH_NOT_FOUND},
  };
  for (const auto& t : targets) {
    SCOPED_TRACE(t.what);
    const test::TempFolder folder;
    const std::wstring target = folder.Path(t.name);
    const bool isFolder = t.attributes == FILE_ATTRIBUTE_DIRECTORY;
    const std::wstring old = isFolder ? target + L"\\inside.txt" : target;
    if (isFolder) CreateDirectoryW(target.c_str(), nullptr);
    test::WriteBytes(old, "old");
    if (!isFolder) SetFileAttributesW(target.c_str(), t.attributes | FILE_ATTRIBUTE_ARCHIVE);
    UniqueFile holder(t.heldSharing == kNotHeld
                          ? INVALID_HANDLE_VALUE
                          : CreateFileW(target.c_str(), GENERIC_READ, t.heldSharing, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    try {
      WriteWhole(target, "new");
      EXPECT_EQ(t.operation, nullptr);
    } catch (const Failure& failure) {
      ASSERT_NE(t.operation, nullptr) << failure.Operation();
      EXPECT_EQ(failure.Operation(), t.operation);
      EXPECT_EQ(failure.Code(), static_cast<std::int32_t>(HRESULT_FROM_WIN32(t.error)));
    }
    holder.Reset();
    const bool gone = t.name != std::wstring_view(L"chat.txt");
    EXPECT_EQ(test::ReadBytes(old), gone ? "" : t.operation ? "old" : "new");
    if (!isFolder) {
      EXPECT_EQ(GetFileAttributesW(target.c_str()) & t.attributes, t.attributes);
    }
    EXPECT_EQ(FilesIn(folder.Name()), gone ? std::vector<std::wstring>{} : kJustTheTarget);
  }
}

}  // namespace
}  // namespace rapporta::save
