#pragma once
// The log's text box as the chat log sees it: a multi-line EDIT control.
#include <windows.h>

#include <functional>

#include "chat/chat_log.h"

namespace rapporta::chat {

class EditLogBox final : public LogBox {
 public:
  explicit EditLogBox(HWND edit) : edit_(edit) {}
  std::size_t Length() const override;
  Text Read() const override;
  void Replace(TextView text) override;
  void Append(TextView text) override;
  void DropFrontAndAppend(std::size_t count, TextView text) override;

  // Runs resize, which gives the box a new size. The box wraps all its
  // lines again at the new width, a very long line in quadratic time: when
  // the text holds one, it is taken out meanwhile and put back in pieces.
  void Refit(const std::function<void()>& resize);

 private:
  // Adds text at the end in pieces the control lays out quickly, and leaves
  // the caret at the end, scrolled into view.
  void Insert(TextView text);
  HWND edit_;
};

// Where the next piece of text to insert ends: at most a few thousand
// characters, cut after a line break where there is one, and a line longer
// than the control can lay out quickly in one go is cut short. Never splits a
// CR LF pair or a surrogate pair.
std::size_t NextPieceEnd(TextView text, std::size_t from);

}  // namespace rapporta::chat
