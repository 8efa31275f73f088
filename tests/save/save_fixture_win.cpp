#include "save_fixture_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../support/modal_driver_win.h"
#include "save/save_command_win.h"

namespace rapporta::test {
namespace {

void DeleteTree(const std::wstring& folder) {
  std::wstring from = folder + L'\0';  // the list ends with two NULs
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&operation);
}

std::wstring ComboItem(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The edit box inside the file name combo box (a ComboBoxEx in Wine).
HWND FileNameEdit(HWND dialog) {
  HWND box = GetDlgItem(dialog, kFileNameCombo);
  if (!box) box = GetDlgItem(dialog, 0x480);  // edt1 of the older template
  for (HWND inner = box; inner; inner = FindWindowExW(inner, nullptr, nullptr, nullptr)) {
    wchar_t className[16] = {};
    GetClassNameW(inner, className, 16);
    if (std::wstring_view(className) == L"Edit") return inner;
  }
  return box;
}

void ReadQuestion(HWND box, SeenDialogs& seen) {
  seen.question = true;
  seen.questionText = WindowText(GetDlgItem(box, 0xffff));
  seen.questionOwner = GetWindow(box, GW_OWNER);
  seen.yesButton = GetDlgItem(box, IDYES) != nullptr;
  seen.noButton = GetDlgItem(box, IDNO) != nullptr;
  seen.cancelButton = GetDlgItem(box, IDCANCEL) != nullptr;
  if (HWND yes = GetDlgItem(box, IDYES)) {
    seen.yesIsDefault = (GetWindowLongW(yes, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  }
  // The message box shows the shared system icon in its icon control.
  const HICON information = LoadIconW(nullptr, IDI_INFORMATION);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == information) {
      seen.informationIcon = true;
    }
  }
}

}  // namespace

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SaveTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  owner_ = CreateWindowExW(0, L"STATIC", L"Rapporta owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           40, 40, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner_, nullptr);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"rapporta-save-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(GetTickCount64());
  ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
}

void SaveTest::TearDown() {
  if (!folder_.empty()) {
    const std::wstring pattern = folder_ + L"\\*";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        SetFileAttributesW(Path(found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    DeleteTree(folder_);
  }
  if (owner_) DestroyWindow(owner_);
  CoUninitialize();
}

SeenDialogs SaveTest::Save(const DialogAnswer& answer, const Text& log, int questionAnswer,
                           const std::function<void()>& beforeAnswer) {
  SeenDialogs seen;
  std::atomic<bool> done{false};
  ModalDriver user([&] {
    HWND dialog = WaitForDialog(kDialogTitle);
    if (!dialog) return;
    seen.dialog = true;
    seen.dialogOwner = GetWindow(dialog, GW_OWNER);
    HWND types = GetDlgItem(dialog, kFileTypeCombo);
    seen.fileTypeIndex = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
    seen.fileType = ComboItem(types, seen.fileTypeIndex);
    seen.fileTypeCount = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    seen.secondFileType = ComboItem(types, 1);
    if (answer.name) {
      SendMessageW(FileNameEdit(dialog), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(answer.name->c_str()));
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.save ? IDOK : IDCANCEL, BN_CLICKED), 0);
    // Any question comes up before the save returns.
    while (!done) {
      HWND box = WaitForDialog(kQuestionTitle, 50);
      if (!box) continue;
      ReadQuestion(box, seen);
      seen.ownerEnabledDuringQuestion = IsWindowEnabled(owner_) != FALSE;
      if (beforeAnswer) beforeAnswer();
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(questionAnswer, BN_CLICKED), 0);
      break;
    }
  });
  struct Done {
    std::atomic<bool>& flag;
    ~Done() { flag = true; }
  } markDone{done};
  save::B_Save_Click(owner_, [&] {
    ++logReads;
    return log;
  });
  return seen;
}

}  // namespace rapporta::test
