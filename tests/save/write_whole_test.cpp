// Replacing a file whole or not at all: a failure at each step, and targets
// that cannot be replaced, leave the old file byte for byte and nothing else.
#include "save/write_whole_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/failure.h"
#include "common/unique_win.h"
#include "support/files_win.h"

namespace rapporta::save {
namespace {

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().wstring());
  return names;
}

const std::vector<std::wstring> kJustTheTarget{L"chat.txt"};

BOOL Refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Each step made to fail in turn, onto an existing file and onto a new name.
TEST(WriteWhole, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
  enum Step { kCreate, kFirstWrite, kThirdWrite, kWriteNothing, kFlush, kSwap, kSwapAfterMove };
  const struct {
    const char* name;
    Step step;
    const char* operation;  // as reported; empty: the swap's
  } steps[] = {
      {"creating the temporary file", kCreate, "CreateFileW"},
      {"the first write", kFirstWrite, "WriteFile"},
      {"the third write, after short ones", kThirdWrite, "WriteFile"},
      {"a write that writes nothing", kWriteNothing, "WriteFile"},
      {"the flush", kFlush, "FlushFileBuffers"},
      {"the swap", kSwap, ""},
      {"the swap, the old file already moved aside", kSwapAfterMove, "ReplaceFileW"},
  };
  for (const auto& s : steps) {
    // A new name takes no ReplaceFileW.
    for (const bool existing : {true, false}) {
      if (!existing && s.step == kSwapAfterMove) continue;
      SCOPED_TRACE(std::string(s.name) + (existing ? ", onto a file" : ", a new file"));
      const test::TempFolder folder;
      const std::wstring target = folder.Path(L"chat.txt");
      if (existing) test::WriteBytes(target, "the old log");
      FileCalls calls = SystemFileCalls();
      int writes = 0;
      calls.write = [&](HANDLE file, const char* bytes, DWORD size, DWORD* written) {
        if (s.step == kWriteNothing) {
          *written = 0;
          return TRUE;
        }
        const int failing = s.step == kFirstWrite ? 1 : s.step == kThirdWrite ? 3 : 0;
        if (++writes == failing) return Refuse(ERROR_IO_DEVICE);
        return WriteFile(file, bytes, s.step == kThirdWrite ? std::min(size, 7ul) : size, written,
                         nullptr);
      };
      if (s.step == kCreate) calls.createNew = [](auto&, DWORD) {
        Refuse(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
      };
      if (s.step == kFlush) calls.flush = [](HANDLE) { return Refuse(ERROR_IO_DEVICE); };
      if (s.step == kSwap) {
        calls.replace = [](auto&, auto&, auto&) { return Refuse(ERROR_SHARING_VIOLATION); };
        calls.move = [](auto&, auto&) { return Refuse(ERROR_ACCESS_DENIED); };
      }
      if (s.step == kSwapAfterMove) calls.replace = [](auto& target, auto&, auto& backup) {
        MoveFileExW(target.c_str(), backup.c_str(), 0);
        return Refuse(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
      };
      try {
        WriteWhole(target, "\r\n\r\na new log, longer than the old one", calls);
        ADD_FAILURE() << "no failure";
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.Operation(),
                  *s.operation ? s.operation : existing ? "ReplaceFileW" : "MoveFileExW");
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
