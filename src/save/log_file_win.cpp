#include "save/log_file_win.h"

#include <climits>
#include <optional>
#include <utility>

#include "common/check_win.h"
#include "common/text_win.h"

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

}  // namespace

std::string EncodeLog(TextView log, UINT codePage) {
  if (log.empty()) return {};
  if (std::optional<std::string> bytes = Lossless(log, codePage)) return std::move(*bytes);
  return kUtf8ByteOrderMark + Narrow(log, CP_UTF8, 0, nullptr);
}

void WriteLogFile(TextView target, TextView log, const FileCalls& calls) {
  WriteWhole(NulTerminated(target), EncodeLog(log, GetACP()), calls);
}

}  // namespace rapporta::save
