#include "ui/message_loop_win.h"

namespace rapporta::ui {

int RunMessageLoop(const Form1& form) {
  MSG message{};
  while (form.Window() != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    if (!IsDialogMessageW(form.Window(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}

}  // namespace rapporta::ui
