// Save targets that cannot be written: the write is refused with the failure
// named, the target is left as it was, and through the real window, the real
// dialog and the real question the failure is reported and the window keeps
// its log and can save elsewhere.
#include <gtest/gtest.h>

#include <functional>

#include "common/failure.h"
#include "common/unique_win.h"
#include "save/log_file_win.h"
#include "saving_form_win.h"

namespace rapporta::reliability {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class SaveFailure : public SavingForm {};

TEST_F(SaveFailure, TargetsThatCannotBeWrittenAreRefusedAndLeftAsTheyWere) {
  const std::wstring held = folder.Path(L"held.txt");
  const std::wstring readOnly = folder.Path(L"read-only.txt");
  const std::wstring aFolder = folder.Path(L"a folder.txt");
  WriteBytes(held, "kept");
  WriteBytes(readOnly, "kept");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateDirectoryW(aFolder.c_str(), nullptr));
  WriteBytes(aFolder + L"\\inside.txt", "inside");
  // Another program holds the file open.
  UniqueFile holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  const struct {
    std::wstring target;
    const char* operation;
    DWORD error;
    std::function<bool()> leftAsItWas;
  } cases[] = {
      {held, "ReplaceFileW", ERROR_SHARING_VIOLATION, [&] { return ReadBytes(held) == "kept"; }},
      {readOnly, "ReplaceFileW", ERROR_ACCESS_DENIED, [&] { return ReadBytes(readOnly) == "kept"; }},
      // The dialog opens a folder whose name is typed, so a folder becomes
      // the target only by the file layer's hand (or a race).
      {aFolder, "ReplaceFileW", ERROR_ACCESS_DENIED, [&] { return ReadBytes(aFolder + L"\\inside.txt") == "inside"; }},
      // The folder went away while the question was open.
      {folder.Path(L"gone\\chat.txt"), "CreateFileW", ERROR_PATH_NOT_FOUND,
       [&] { return !test::FileExists(folder.Path(L"gone")); }},
  };
  for (const auto& c : cases) {
    try {
      save::WriteLogFile(FromWide(c.target), u"new");
      ADD_FAILURE() << "a target that cannot be written was written";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Operation(), c.operation);
      EXPECT_EQ(failure.Code(), static_cast<std::int32_t>(HRESULT_FROM_WIN32(c.error)));
    }
  }
  holder.Reset();  // the held file can be read again
  for (const auto& c : cases) EXPECT_TRUE(c.leftAsItWas());
}

TEST_F(SaveFailure, AFailedSaveIsReportedAndTheWindowGoesOn) {
  const std::wstring name = folder.Path(L"held.txt");
  WriteBytes(name, "kept");
  UniqueFile holder(CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  const test::SeenDialogs seen = ClickSaveAndFail(name, 2);
  holder.Reset();
  ASSERT_EQ(seen.boxes, 2) << "the question, then the report";
  EXPECT_EQ(seen.lastBoxText.rfind(L"ReplaceFileW", 0), 0u) << "the report names the call";
  EXPECT_EQ(ReadBytes(name), "kept");
  ExpectTheWindowGoesOn(u"\r\n\r\n[14:07]hello");
}

}  // namespace
}  // namespace rapporta::reliability
