#include "save/log_file_win.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "common/check_win.h"
#include "common/text_win.h"
#include "common/unique_win.h"

namespace rapporta::save {
namespace {

int CheckedLength(std::size_t length, const char* operation) {
  if (length > INT_MAX) CheckHr(E_INVALIDARG, operation);
  return static_cast<int>(length);
}

// These take neither WC_NO_BEST_FIT_CHARS nor the used-default flag.
bool TakesNoBestFitFlags(UINT codePage) {
  switch (codePage) {
    case CP_UTF7:
    case CP_UTF8:
    case 42:  // symbol
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 54936:
      return true;
    default:
      return codePage >= 57002 && codePage <= 57011;
  }
}

std::string Narrow(TextView text, UINT codePage, DWORD flags, BOOL* usedDefault) {
  const int length = CheckedLength(text.size(), "WideCharToMultiByte");
  const int size = WideCharToMultiByte(codePage, flags, WidePtr(text), length, nullptr, 0,
                                       nullptr, usedDefault);
  if (size == 0) ThrowLastError("WideCharToMultiByte");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  CheckWin(WideCharToMultiByte(codePage, flags, WidePtr(text), length, bytes.data(), size,
                               nullptr, usedDefault),
           "WideCharToMultiByte");
  return bytes;
}

// The text in codePage, or nothing when a character has no form there.
std::optional<std::string> Lossless(TextView text, UINT codePage) {
  const bool plain = TakesNoBestFitFlags(codePage);
  BOOL usedDefault = FALSE;
  std::string bytes = Narrow(text, codePage, plain ? 0 : WC_NO_BEST_FIT_CHARS,
                             plain ? nullptr : &usedDefault);
  // The round trip also catches what the flag cannot: lone surrogates in
  // UTF-8 and the code pages that refuse the flag.
  if (usedDefault || FromWide(Widen(bytes, codePage)) != text) return std::nullopt;
  return bytes;
}

void MoveTo(HANDLE file, std::size_t offset) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(offset);
  CheckWin(SetFilePointerEx(file, position, nullptr, FILE_BEGIN), "SetFilePointerEx");
}

void WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    CheckWin(WriteFile(file, bytes.data() + done, chunk, &written, nullptr), "WriteFile");
    // Nothing written and no error: no room left either.
    if (written == 0) CheckHr(HRESULT_FROM_WIN32(ERROR_DISK_FULL), "WriteFile");
    done += written;
  }
}

}  // namespace

std::string EncodeLog(TextView log, UINT codePage) {
  if (log.empty()) return {};
  if (std::optional<std::string> bytes = Lossless(log, codePage)) return std::move(*bytes);
  return kUtf8ByteOrderMark + Narrow(log, CP_UTF8, 0, nullptr);
}

void WriteLogFile(TextView target, TextView log) {
  // Encoded before the file is opened: nothing can fail between opening the
  // file and writing it, apart from the writes themselves.
  const std::string bytes = EncodeLog(log, GetACP());
  const std::wstring path = NulTerminated(target);
  // Opened without truncating it: a file that cannot be written (read-only,
  // a folder, held open) is refused with the old content untouched.
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError("CreateFileW");
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  LARGE_INTEGER size{};
  CheckWin(GetFileSizeEx(file.Get(), &size), "GetFileSizeEx");
  const auto oldSize = static_cast<std::size_t>(size.QuadPart);
  try {
    // The room the new text needs is taken at the end first: a full disk
    // fails there, before a byte of the old content has changed.
    if (bytes.size() > oldSize) {
      MoveTo(file.Get(), oldSize);
      WriteAll(file.Get(), std::string(bytes.size() - oldSize, '\0'));
    }
    MoveTo(file.Get(), 0);
    WriteAll(file.Get(), bytes);
    CheckWin(SetEndOfFile(file.Get()), "SetEndOfFile");
  } catch (const Failure&) {
    // Nothing else changes: the file gets its old length back, or goes
    // when it is new.
    if (existed) {
      LARGE_INTEGER position{};
      position.QuadPart = static_cast<LONGLONG>(oldSize);
      if (SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) SetEndOfFile(file.Get());
    } else {
      file.Reset();
      DeleteFileW(path.c_str());
    }
    throw;
  }
}

}  // namespace rapporta::save
