#include "chat/log_box_win.h"

#include "chat/log_rule.h"
#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::chat {
namespace {

// Wine's edit control wraps a long line by measuring the rest of it again
// for every row: one change of n characters without a line break costs
// about n * n. Pieces of these sizes keep that linear.
constexpr std::size_t kPieceLength = 4000;
constexpr std::size_t kLongLinePiece = 500;
// A line this long takes the box noticeably long to wrap again.
constexpr std::size_t kSlowLine = 2000;

bool HasSlowLine(TextView text) {
  std::size_t lineStart = 0;
  for (;;) {
    const std::size_t lineBreak = text.find(u"\r\n", lineStart);
    const std::size_t lineEnd = lineBreak == TextView::npos ? text.size() : lineBreak;
    if (lineEnd - lineStart > kSlowLine) return true;
    if (lineBreak == TextView::npos) return false;
    lineStart = lineBreak + 2;
  }
}

// Several changes to the box show as one: the box is taken out of the
// drawing while they are made and drawn once afterwards, scroll bar
// included. (WM_SETREDRAW does the same on Windows, but under Wine the
// control still redraws its scroll bar on every change.)
class QuietUpdate {
 public:
  // Unless quiet is false: one small change is best left to the control,
  // which then scrolls and redraws only what changed.
  explicit QuietUpdate(HWND control, bool quiet = true)
      : control_(control), style_(quiet ? GetWindowLongPtrW(control, GWL_STYLE) : 0) {
    if (style_ & WS_VISIBLE) SetWindowLongPtrW(control_, GWL_STYLE, style_ & ~WS_VISIBLE);
  }
  ~QuietUpdate() {
    if (!(style_ & WS_VISIBLE)) return;
    SetWindowLongPtrW(control_, GWL_STYLE, style_);
    RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  QuietUpdate(const QuietUpdate&) = delete;
  QuietUpdate& operator=(const QuietUpdate&) = delete;

 private:
  HWND control_;
  LONG_PTR style_;
};

}  // namespace

std::size_t NextPieceEnd(TextView text, std::size_t from) {
  const std::size_t left = text.size() - from;
  std::size_t end;
  const std::size_t lineBreak = text.find(u"\r\n", from);
  if (lineBreak == TextView::npos || lineBreak - from > kLongLinePiece) {
    if (left <= kLongLinePiece) return text.size();
    end = from + kLongLinePiece;
  } else {
    if (left <= kPieceLength) return text.size();
    // Whole lines, as many as fit.
    const std::size_t lastBreak = text.rfind(u"\r\n", from + kPieceLength - 2);
    end = lastBreak + 2;
  }
  return SafeCut(text, end);
}

std::size_t EditLogBox::Length() const {
  return static_cast<std::size_t>(GetWindowTextLengthW(edit_));
}

Text EditLogBox::Read() const { return FromWide(WindowText(edit_)); }

void EditLogBox::Replace(TextView text) {
  const QuietUpdate quiet(edit_);
  CheckWin(SetWindowTextW(edit_, L""), "SetWindowText");
  Insert(text);
}

void EditLogBox::Append(TextView text) {
  const QuietUpdate quiet(edit_, NextPieceEnd(text, 0) != text.size());
  Insert(text);
}

void EditLogBox::DropFrontAndAppend(std::size_t count, TextView text) {
  const QuietUpdate quiet(edit_);
  SendMessageW(edit_, EM_SETSEL, 0, static_cast<LPARAM>(count));
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  Insert(text);
}

void EditLogBox::Refit(const std::function<void()>& resize) {
  const Text text = Read();
  if (!HasSlowLine(text)) {
    resize();
    return;
  }
  CheckWin(SetWindowTextW(edit_, L""), "SetWindowText");
  try {
    resize();
  } catch (...) {
    const QuietUpdate quiet(edit_);
    Insert(text);  // the log outlives a failed resize
    throw;
  }
  const QuietUpdate quiet(edit_);
  Insert(text);
}

void EditLogBox::Insert(TextView text) {
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = NextPieceEnd(text, from);
    // At the real end, even if the user has made the text longer than any
    // log the rules allow.
    const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
    SendMessageW(edit_, EM_SETSEL, length, static_cast<LPARAM>(length));
    const std::wstring piece = NulTerminated(text.substr(from, end - from));
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
    from = end;
  }
  // Past any log the rules allow: the box puts the caret at the end. Setting
  // it does not scroll, so the caret is scrolled into view as well.
  SendMessageW(edit_, EM_SETSEL, kCaretEnd, kCaretEnd);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

}  // namespace rapporta::chat
