#pragma once
// What the save tests share: COM on the test's thread, an owner window, a
// fresh folder, the bytes of a file, and a second thread that answers the
// save dialog and the overwrite question as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>

#include "common/text.h"

namespace rapporta::test {

inline constexpr wchar_t kDialogTitle[] = L"ﾌｧｲﾙの保存";
inline constexpr wchar_t kQuestionTitle[] = L"Rapporta";
// Control ids of the Explorer-style dialog.
inline constexpr int kFileTypeCombo = 0x470;  // cmb1
inline constexpr int kFileNameCombo = 0x47c;  // cmb13

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// What the user does in the dialog.
struct DialogAnswer {
  std::optional<std::wstring> name;  // typed into the file name box
  bool save = true;                  // Save, else Cancel
};

// What the user saw and did in the dialog and the question.
struct SeenDialogs {
  bool dialog = false;
  HWND dialogOwner = nullptr;
  int fileTypeIndex = -1;
  std::wstring fileType;
  int fileTypeCount = 0;
  std::wstring secondFileType;
  bool question = false;
  std::wstring questionText;
  HWND questionOwner = nullptr;
  bool ownerEnabledDuringQuestion = true;
  bool yesButton = false;
  bool noButton = false;
  bool cancelButton = false;
  bool yesIsDefault = false;
  bool informationIcon = false;
};

// The dialog and the question are modal on the test's thread; a second
// thread plays the user.
class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

  // Runs B_Save_Click against the owner window, the user answering the
  // dialog with dialog and any question with questionAnswer (IDYES/IDNO).
  // beforeAnswer runs on the user's thread while the question is open.
  SeenDialogs Save(const DialogAnswer& dialog, const Text& log, int questionAnswer = IDYES,
                   const std::function<void()>& beforeAnswer = {});

  int logReads = 0;
  HWND owner_ = nullptr;
  std::wstring folder_;
};

}  // namespace rapporta::test
