#include "save/save_steps.h"

#include "save/dlg_util.h"

namespace rapporta::save {

void SaveLog(SavePlatform& platform, const std::function<Text()>& readLog) {
  std::string status;

  Text fileBuffer(kFileBufferLength, u'\0');
  const bool ok = platform.ShowSaveDialog(fileBuffer);
  const Text target = StripNull(fileBuffer);
  if (!ok) status = kStatusError;

  // Asked even after a cancel: the target is empty then, so nothing exists
  // and nothing is asked, but a missing file-system object still shows.
  const std::unique_ptr<FileSystem> fileSystem = platform.CreateFileSystem();
  if (fileSystem->FileExists(target)) {
    std::string answer;
    platform.AskYesNo(kOverwriteQuestion, answer);
    if (answer != kAnswerYes) status = kStatusError;
  }

  if (status.empty()) platform.WriteLogFile(target, readLog());
}

}  // namespace rapporta::save
