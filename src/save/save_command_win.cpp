#include "save/save_command_win.h"

#include <commdlg.h>

#include <cstddef>

#include "common/text_win.h"
#include "save/dlg_util_win.h"
#include "save/file_system_win.h"
#include "save/log_file_win.h"
#include "save/save_steps.h"

namespace rapporta::save {
namespace {

// The 32-bit program passes the classic 76-byte record.
static_assert(sizeof(void*) != 4 ||
              offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR) == 76);

class WindowsSavePlatform : public SavePlatform {
 public:
  explicit WindowsSavePlatform(HWND owner) : owner_(owner) {}

  bool ShowSaveDialog(Text& fileBuffer) override {
    // hInstance, nFilterIndex, lpstrFileTitle, lpstrInitialDir and Flags
    // stay zero.
    OPENFILENAMEW record{};
    // The record form that ends with lpTemplateName: the dialog then shows
    // no places bar.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = owner_;
    record.lpstrFilter = WidePtr(kSaveFilter);
    record.lpstrFile = reinterpret_cast<wchar_t*>(fileBuffer.data());
    record.nMaxFile = static_cast<DWORD>(fileBuffer.size());
    record.nMaxFileTitle = static_cast<DWORD>(kFileBufferLength);
    const std::wstring title = NulTerminated(kSaveTitle);
    record.lpstrTitle = title.c_str();
    const std::wstring defaultExtension = NulTerminated(kDefaultExtension);
    record.lpstrDefExt = defaultExtension.c_str();
    return save::ShowSaveDialog(record);
  }

  std::unique_ptr<FileSystem> CreateFileSystem() override {
    return CreateScriptingFileSystem();
  }

  void AskYesNo(TextView prompt, std::string& answer) override {
    save::AskYesNo(owner_, prompt, answer);
  }

  void WriteLogFile(TextView target, TextView log) override {
    save::WriteLogFile(target, log);
  }

 private:
  HWND owner_;
};

}  // namespace

void B_Save_Click(HWND owner, const std::function<Text()>& readLog) {
  WindowsSavePlatform platform(owner);
  SaveLog(platform, readLog);
}

}  // namespace rapporta::save
