#pragma once
#include "ui/form1_win.h"

namespace rapporta::ui {

// Runs the message loop, with Tab navigation between the controls, until
// the window is gone. Returns the program's exit code.
int RunMessageLoop(const Form1& form);

}  // namespace rapporta::ui
