#include "save_fixture_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/modal_driver_win.h"
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
  seen.boxText = WindowText(GetDlgItem(box, 0xffff));
  seen.boxOwner = GetWindow(box, GW_OWNER);
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

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  name_ = std::wstring(temp) + L"rapporta-save-" + std::to_wstring(GetCurrentProcessId()) +
          L"-" + std::to_wstring(GetTickCount64());
  if (!CreateDirectoryW(name_.c_str(), nullptr)) ADD_FAILURE() << "cannot create the folder";
}

TempFolder::~TempFolder() {
  // Read-only files would stop the removal.
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Path(L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      SetFileAttributesW(Path(found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  DeleteTree(name_);
}

SeenDialogs RunAsUser(const UserAnswers& answers, HWND owner, const std::function<void()>& work) {
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
    if (answers.name) {
      SendMessageW(FileNameEdit(dialog), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(answers.name->c_str()));
    }
    if (answers.beforeSave) answers.beforeSave();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answers.save ? IDOK : IDCANCEL, BN_CLICKED), 0);
    // Boxes come up before the work returns.
    HWND previous = nullptr;
    while (!done && seen.boxes < answers.boxes) {
      HWND box = WaitForDialog(kAppBoxTitle, 50);
      if (!box || box == previous) continue;
      previous = box;
      if (seen.boxes++ == 0) {
        ReadQuestion(box, seen);
        seen.ownerEnabledDuringBox = IsWindowEnabled(owner) != FALSE;
      }
      seen.lastBoxText = WindowText(GetDlgItem(box, 0xffff));
      if (answers.beforeAnswer) answers.beforeAnswer();
      // A box without the asked button (a failure report) is answered OK.
      const int button = GetDlgItem(box, answers.question) ? answers.question : IDOK;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
  });
  struct Done {
    std::atomic<bool>& flag;
    ~Done() { flag = true; }
  } markDone{done};
  work();
  return seen;
}

void SaveTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  owner_ = CreateWindowExW(0, L"STATIC", L"Rapporta owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           40, 40, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner_, nullptr);
}

void SaveTest::TearDown() {
  if (owner_) DestroyWindow(owner_);
  CoUninitialize();
}

SeenDialogs SaveTest::Save(const UserAnswers& answers, const Text& log) {
  return RunAsUser(answers, owner_, [&] {
    save::B_Save_Click(owner_, [&] {
      ++logReads;
      return log;
    });
  });
}

}  // namespace rapporta::test
