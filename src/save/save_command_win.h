#pragma once
// B_Save_Click: asks for a file name in the save dialog and writes the log
// there, asking before it replaces an existing file.
#include <windows.h>

#include <functional>

#include "common/text.h"

namespace rapporta::save {

// owner: the window that owns the dialog and the question. readLog is called
// once, at the moment of writing, after the dialog and any question closed.
// Throws Failure when a call fails (the file cannot be written, ...).
void B_Save_Click(HWND owner, const std::function<Text()>& readLog);

}  // namespace rapporta::save
