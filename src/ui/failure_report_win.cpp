#include "ui/failure_report_win.h"

#include <cwchar>
#include <iterator>

#include "common/text_win.h"
#include "common/version.h"

namespace rapporta::ui {
namespace {

std::wstring SystemMessage(DWORD code) {
  wchar_t buffer[512] = {};
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return text;
}

std::wstring Report(Situation situation, const std::wstring& detail) {
  return std::wstring(Wide(FirstLine(situation))) + L"\r\n\r\n詳細: " + detail;
}

void ShowError(HWND owner, const wchar_t* text) noexcept {
  MessageBoxW(owner, text, WidePtr(kAppTitle), MB_OK | MB_ICONERROR);
}

// When even the report cannot be put together (no memory left): the line
// that says so, as it stands.
void ShowUnexpected(HWND owner) noexcept {
  ShowError(owner, WidePtr(FirstLine(Situation::kUnexpected)));
}

}  // namespace

// Operation names are ASCII identifiers written in the code; anything else
// is taken as UTF-8.
std::wstring FailureText(const Failure& failure, Stage stage) {
  const DWORD code = static_cast<DWORD>(failure.Code());
  wchar_t hex[16];
  std::swprintf(hex, std::size(hex), L"0x%08lX", static_cast<unsigned long>(code));
  std::wstring detail = Widen(failure.Operation(), CP_UTF8) + L" / エラー " + hex;
  // The system's text for a time-out speaks of an operation, not of the
  // host that never answered; a common dialog's own code has a name, not a
  // system text.
  std::wstring message;
  if (failure.Code() == kNoAnswer) {
    message = L"EchoLink が時間内に応答しませんでした。";
  } else if (failure.Code() == kStillBusy) {
    message = L"EchoLink は前の要求をまだ処理しています。";
  } else if (!failure.CodeName().empty()) {
    message = Widen(failure.CodeName(), CP_UTF8);
  } else {
    message = SystemMessage(code);
  }
  if (!message.empty()) detail += L" / " + message;
  return Report(SituationOf(failure.Operation(), failure.Code(), stage), detail);
}

void ReportFailure(HWND owner, const Failure& failure, Stage stage) noexcept {
  try {
    ShowError(owner, FailureText(failure, stage).c_str());
  } catch (...) {
    ShowUnexpected(owner);
  }
}

void ReportUnexpected(HWND owner, const char* what) noexcept {
  try {
    ShowError(owner, Report(Situation::kUnexpected, Widen(what, CP_UTF8)).c_str());
  } catch (...) {
    ShowUnexpected(owner);
  }
}

}  // namespace rapporta::ui
