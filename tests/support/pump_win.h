#pragma once
// Runs the test thread's message loop until something happens.
#include <windows.h>

#include <chrono>
#include <functional>

namespace rapporta::test {

using namespace std::chrono_literals;

// Dispatches every message already waiting. With a dialog window given, its
// messages go through IsDialogMessage as in the program's own loop.
void PumpPending(HWND dialog = nullptr);

// Pumps until condition() holds or timeout passes; returns condition().
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = 5000ms, HWND dialog = nullptr);

}  // namespace rapporta::test
