// Save targets that cannot be written, through the real window, the real
// dialog and the real question: the failure is reported, the file is left as
// it was, and the window keeps its log and can save elsewhere.
#include <gtest/gtest.h>

#include "common/failure.h"
#include "save/log_file_win.h"
#include "saving_form_win.h"

namespace rapporta::reliability {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class SaveFailure : public SavingForm {};

TEST_F(SaveFailure, AReadOnlyFileIsReportedAndLeftAsItWas) {
  const std::wstring name = folder.Path(L"read-only.txt");
  WriteBytes(name, "kept");
  ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
  // Under Wine the attribute is the file's mode, which root writes through.
  if (HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    GTEST_SKIP() << "this user may write read-only files";
  }
  const test::SeenDialogs seen = ClickSaveAndFail(name, 2);
  ASSERT_EQ(seen.boxes, 2) << "the question, then the report";
  EXPECT_EQ(seen.lastBoxText.rfind(L"CreateFileW", 0), 0u) << seen.lastBoxText;
  EXPECT_EQ(ReadBytes(name), "kept");
  EXPECT_EQ(GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ExpectTheWindowGoesOn(u"\r\n\r\n[14:07]hello");
}

// The dialog opens a folder whose name is typed, so a folder becomes the
// target only by the file layer's hand (or a race): refused, left alone.
TEST_F(SaveFailure, AFolderIsRefusedAndLeftAsItWas) {
  const std::wstring name = folder.Path(L"a folder.txt");
  ASSERT_TRUE(CreateDirectoryW(name.c_str(), nullptr));
  WriteBytes(name + L"\\inside.txt", "inside");
  try {
    save::WriteLogFile(FromWide(name), u"log");
    ADD_FAILURE() << "a folder was written as a file";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Operation(), "CreateFileW");
    EXPECT_EQ(failure.Code(), static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));
  }
  EXPECT_NE(GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadBytes(name + L"\\inside.txt"), "inside");
}

}  // namespace
}  // namespace rapporta::reliability
