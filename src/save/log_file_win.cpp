#include "save/log_file_win.h"

#include <optional>
#include <utility>

#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::save {
namespace {

std::string Narrow(TextView text, UINT codePage) {
  const int length = CheckedLength(text.size(), "WideCharToMultiByte");
  const int size =
      WideCharToMultiByte(codePage, 0, WidePtr(text), length, nullptr, 0, nullptr, nullptr);
  if (size == 0) ThrowLastError("WideCharToMultiByte");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  CheckWin(WideCharToMultiByte(codePage, 0, WidePtr(text), length, bytes.data(), size, nullptr,
                               nullptr),
           "WideCharToMultiByte");
  return bytes;
}

// The text in codePage, or nothing when a character has no form there. The
// round trip refuses a best-fit character and the default character alike,
// and lone surrogates in UTF-8, in every code page whatever flags it takes.
std::optional<std::string> Lossless(TextView text, UINT codePage) {
  std::string bytes = Narrow(text, codePage);
  if (FromWide(Widen(bytes, codePage)) != text) return std::nullopt;
  return bytes;
}

}  // namespace

std::string EncodeLog(TextView log, UINT codePage) {
  if (log.empty()) return {};
  if (std::optional<std::string> bytes = Lossless(log, codePage)) return std::move(*bytes);
  return kUtf8ByteOrderMark + Narrow(log, CP_UTF8);
}

void WriteLogFile(TextView target, TextView log) {
  WriteWhole(NulTerminated(target), EncodeLog(log, GetACP()));
}

}  // namespace rapporta::save
