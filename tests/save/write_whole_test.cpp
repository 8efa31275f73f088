// Replacing a file whole or not at all: a failure at any step, and a target
// that cannot be replaced, leave the old file byte for byte (onto a new name:
// no file) and nothing else; hidden and system files are replaced and stay so.
#include "save/write_whole_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/failure.h"
#include "support/files_win.h"

namespace rapporta::save {
namespace {

BOOL Refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

TEST(WriteWhole, ReplacesTheFileWholeOrLeavesItAndNothingElse) {
  // A short write before a failing one is the disk-full test's
  // (reliability/disk_full_test.cpp), with the system's own refusals; a
  // swap refused outright is the read-only file's, by the system itself.
  enum Fail { kNone, kWriteNothing, kFlush, kSwap, kSwapMoved };
  constexpr DWORD kNew = 1u << 30;
  const struct {
    const char* what;
    DWORD old;  // the old file's attributes; kNew: none
    Fail fail;
    const char* operation;  // the failure reported; null: replaced
    DWORD error = 0;        // its code, where the system gives it
    const wchar_t* name = L"chat.txt";
  } cases[] = {
      {"a file", 0, kNone, nullptr},
      {"a new file", kNew, kNone, nullptr},
      {"a hidden system file", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, kNone, nullptr},
      {"a read-only file", FILE_ATTRIBUTE_READONLY, kNone, "ReplaceFileW", ERROR_ACCESS_DENIED},
      {"in a folder gone meanwhile", kNew, kNone, "CreateFileW", ERROR_PATH_NOT_FOUND,
       L"gone\\chat.txt"},
      {"a write writes nothing", 0, kWriteNothing, "WriteFile"},
      {"the flush fails", 0, kFlush, "FlushFileBuffers"},
      {"the swap fails, the old file already moved aside", 0, kSwapMoved, "ReplaceFileW"},
      {"the swap fails, a new name", kNew, kSwap, "MoveFileExW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const test::TempFolder folder;
    const std::wstring target = folder.Path(c.name);
    if (c.old != kNew) {
      test::WriteBytes(target, "the old log");
      SetFileAttributesW(target.c_str(), c.old | FILE_ATTRIBUTE_ARCHIVE);
    }
    FileCalls calls = SystemFileCalls();
    if (c.fail == kWriteNothing) calls.write = [](HANDLE, const char*, DWORD, DWORD* written) {
      *written = 0;
      return TRUE;
    };
    if (c.fail == kFlush) calls.flush = [](HANDLE) { return Refuse(ERROR_IO_DEVICE); };
    if (c.fail == kSwap) {
      calls.replace = [](auto&, auto&, auto&) { return Refuse(ERROR_SHARING_VIOLATION); };
      calls.move = [](auto&, auto&) { return Refuse(ERROR_ACCESS_DENIED); };
    }
    if (c.fail == kSwapMoved) calls.replace = [](auto& target, auto&, auto& backup) {
      MoveFileExW(target.c_str(), backup.c_str(), 0);
      return Refuse(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    };
    try {
      WriteWhole(target, "\r\n\r\na new log, longer than the old one", calls);
      EXPECT_EQ(c.operation, nullptr);
    } catch (const Failure& failure) {
      EXPECT_STREQ(failure.Operation().c_str(), c.operation ? c.operation : "(none)");
      if (c.error) {
        EXPECT_EQ(failure.Code(), static_cast<std::int32_t>(HRESULT_FROM_WIN32(c.error)));
      }
    }
    const bool kept = c.operation != nullptr && c.old != kNew;
    EXPECT_EQ(test::ReadBytes(target),
              kept ? "the old log" : c.operation ? "" : "\r\n\r\na new log, longer than the old one");
    if (c.old != kNew) {
      EXPECT_EQ(GetFileAttributesW(target.c_str()) & c.old, c.old);
    }
    // Nothing else: no temporary file or backup left.
    const bool nothing = c.old == kNew && c.operation;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Name()), {}),
              nothing ? 0 : 1);
  }
}

}  // namespace
}  // namespace rapporta::save
