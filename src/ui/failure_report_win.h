#pragma once
// The one place a failure reaches the user: a message box that says first, in
// plain Japanese, what failed and what happens next, then the failed operation
// and its error for whoever helps them.
#include <windows.h>

#include <string>

#include "common/failure.h"
#include "ui/failure_lines.h"

namespace rapporta::ui {

// "<first line>\r\n\r\n詳細: <operation> / エラー 0x........ / <system's text>".
// stage: whether start-up was under way; the call sign's read needs it.
std::wstring FailureText(const Failure& failure, Stage stage = Stage::kUnknown);
// Shows the box and returns once it is dismissed. owner may be null.
void ReportFailure(HWND owner, const Failure& failure, Stage stage = Stage::kUnknown) noexcept;
// For anything else that escaped a handler (out of memory, ...).
void ReportUnexpected(HWND owner, const char* what) noexcept;

}  // namespace rapporta::ui
