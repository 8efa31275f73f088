#pragma once
// The log's text box as the chat log sees it: a multi-line EDIT control.
#include <windows.h>

#include "chat/chat_log.h"

namespace rapporta::chat {

// The whole text of a control.
Text ControlText(HWND control);

class EditLogBox final : public LogBox {
 public:
  explicit EditLogBox(HWND edit) : edit_(edit) {}
  std::size_t Length() const override;
  Text Read() const override;
  void Replace(TextView text) override;
  void Append(TextView text) override;

 private:
  void CaretToEnd();
  HWND edit_;
};

}  // namespace rapporta::chat
