#include "chat/log_box_win.h"

#include "chat/log_rule.h"
#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::chat {

std::size_t EditLogBox::Length() const {
  return static_cast<std::size_t>(GetWindowTextLengthW(edit_));
}

Text ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return FromWide(text);
}

Text EditLogBox::Read() const { return ControlText(edit_); }

void EditLogBox::Replace(TextView text) {
  const Text copy(text);  // the control wants it NUL-terminated
  CheckWin(SetWindowTextW(edit_, WidePtr(copy)), "SetWindowText");
  CaretToEnd();
}

void EditLogBox::Append(TextView text) {
  const Text copy(text);
  // Rewriting a long log costs far more than adding to its end.
  SendMessageW(edit_, EM_SETSEL, kCaretEnd, kCaretEnd);
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(WidePtr(copy)));
  CaretToEnd();
}

void EditLogBox::CaretToEnd() {
  // Past any log the rules allow: the box puts the caret at the end. Setting
  // it does not scroll, so the caret is scrolled into view as well.
  SendMessageW(edit_, EM_SETSEL, kCaretEnd, kCaretEnd);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

}  // namespace rapporta::chat
