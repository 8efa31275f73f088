#pragma once
// The save command as an order of steps: the dialog, the overwrite question,
// the write. The platform behind each step is an interface, so the order is
// plain C++ and is tested without a window.
#include <cstddef>
#include <iterator>
#include <functional>
#include <memory>
#include <string>

#include "common/text.h"

namespace rapporta::save {

// The dialog's file name buffer, in characters, NUL included.
inline constexpr std::size_t kFileBufferLength = 261;
// Description/pattern pairs, closed by two NULs as the dialog wants them.
inline constexpr char16_t kSaveFilterChars[] =
    u"TXTﾌｧｲﾙ(*.txt)\0*.txt\0すべてのﾌｧｲﾙ(*.*)\0*\0";
inline constexpr TextView kSaveFilter{kSaveFilterChars, std::size(kSaveFilterChars)};
inline constexpr TextView kSaveTitle = u"ﾌｧｲﾙの保存";
inline constexpr TextView kDefaultExtension = u"txt";
inline constexpr TextView kOverwriteQuestion =
    u"すでにファイルが存在します。上書きしてもよろしいですか？";

// Lives for one save only.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True for an existing file, false for a folder or nothing.
  virtual bool FileExists(TextView path) = 0;
};

class SavePlatform {
 public:
  virtual ~SavePlatform() = default;
  // Shows the save dialog on fileBuffer (kFileBufferLength characters,
  // initially all NUL); true when the user chose a name.
  virtual bool ShowSaveDialog(Text& fileBuffer) = 0;
  virtual std::unique_ptr<FileSystem> CreateFileSystem() = 0;
  // Sets answer to "YES", "NO" or empty.
  virtual void AskYesNo(TextView prompt, std::string& answer) = 0;
  // Replaces the file whole with the log text.
  virtual void WriteLogFile(TextView target, TextView log) = 0;
};

// B_Save_Click's steps. readLog is called only when the file is written,
// after the dialog and the question have closed.
void SaveLog(SavePlatform& platform, const std::function<Text()>& readLog);

}  // namespace rapporta::save
