#pragma once
// The one place a failure reaches the user: a message box naming the failed
// operation and its error.
#include <windows.h>

#include <string>

#include "common/failure.h"

namespace rapporta::ui {

// "<operation> に失敗しました。" plus the error as hex and the system's text.
std::wstring FailureText(const Failure& failure);
// Shows the box and returns once it is dismissed. owner may be null.
void ReportFailure(HWND owner, const Failure& failure) noexcept;
// For anything else that escaped a handler (out of memory, ...).
void ReportUnexpected(HWND owner, const char* what) noexcept;

}  // namespace rapporta::ui
