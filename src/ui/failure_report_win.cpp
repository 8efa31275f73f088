#include "ui/failure_report_win.h"

#include <cwchar>
#include <iterator>

#include "common/version.h"
#include "common/text_win.h"

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

void ShowError(HWND owner, const std::wstring& text) noexcept {
  MessageBoxW(owner, text.c_str(), WidePtr(kAppTitle), MB_OK | MB_ICONERROR);
}

}  // namespace

// Operation names are ASCII identifiers written in the code; anything else
// is taken as UTF-8.
std::wstring FailureText(const Failure& failure) {
  const DWORD code = static_cast<DWORD>(failure.Code());
  wchar_t hex[16];
  std::swprintf(hex, std::size(hex), L"0x%08lX", static_cast<unsigned long>(code));
  std::wstring text = Widen(failure.Operation(), CP_UTF8) + L" に失敗しました。\r\n\r\nエラー " + hex;
  // The system's text for a time-out speaks of an operation, not of the
  // host that never answered; a common dialog's own code has a name, not a
  // system text.
  std::wstring message;
  if (failure.Code() == kNoAnswer) {
    message = L"EchoLink が時間内に応答しませんでした。";
  } else if (!failure.CodeName().empty()) {
    message = Widen(failure.CodeName(), CP_UTF8);
  } else {
    message = SystemMessage(code);
  }
  if (!message.empty()) text += L": " + message;
  return text;
}

void ReportFailure(HWND owner, const Failure& failure) noexcept {
  try {
    ShowError(owner, FailureText(failure));
  } catch (...) {
    ShowError(owner, L"Error");
  }
}

void ReportUnexpected(HWND owner, const char* what) noexcept {
  try {
    ShowError(owner, L"エラー: " + Widen(what, CP_UTF8));
  } catch (...) {
    ShowError(owner, L"Error");
  }
}

}  // namespace rapporta::ui
