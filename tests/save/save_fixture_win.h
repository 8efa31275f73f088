#pragma once
// What the save tests share: a fresh folder, the bytes of a file, and a
// user on a second thread who answers the save dialog and the question while
// the test's thread sits in their modal loops.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "common/text.h"

namespace rapporta::test {

inline constexpr wchar_t kDialogTitle[] = L"ﾌｧｲﾙの保存";
inline constexpr wchar_t kAppBoxTitle[] = L"Rapporta";  // the question, a failure report
// Control ids of the Explorer-style dialog.
inline constexpr int kFileTypeCombo = 0x470;  // cmb1
inline constexpr int kFileNameCombo = 0x47c;  // cmb13

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

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

// What the user does.
struct UserAnswers {
  std::optional<std::wstring> name;  // typed into the file name box
  bool save = true;                  // Save, else Cancel
  std::function<void()> beforeSave;  // runs while the dialog is open
  int question = IDYES;              // the button for a box titled "Rapporta"
  int boxes = 1;                     // how many such boxes to answer at most
  std::function<void()> beforeAnswer;  // runs while a box is open
};

// Types name and presses Save; answers any box with question.
inline UserAnswers Typing(std::wstring name, int question = IDYES) {
  UserAnswers answers;
  answers.name = std::move(name);
  answers.question = question;
  return answers;
}

// What the user saw.
struct SeenDialogs {
  bool dialog = false;
  HWND dialogOwner = nullptr;
  int fileTypeIndex = -1;
  std::wstring fileType;
  int fileTypeCount = 0;
  std::wstring secondFileType;

  int boxes = 0;  // boxes titled "Rapporta"; the rest is of the first
  std::wstring boxText;
  HWND boxOwner = nullptr;
  bool ownerEnabledDuringBox = true;
  bool yesButton = false;
  bool noButton = false;
  bool cancelButton = false;
  bool yesIsDefault = false;
  bool informationIcon = false;
  std::wstring lastBoxText;
};

// Plays the user on a second thread while work() runs on this one.
SeenDialogs RunAsUser(const UserAnswers& answers, HWND owner, const std::function<void()>& work);

// COM on the test's thread, an owner window and a folder.
class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::wstring Path(const std::wstring& name) const { return folder_.Path(name); }

  // B_Save_Click on the owner window, with log as the log.
  SeenDialogs Save(const UserAnswers& answers, const Text& log);

  int logReads = 0;
  HWND owner_ = nullptr;
  TempFolder folder_;
};

}  // namespace rapporta::test
