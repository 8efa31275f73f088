#pragma once
// The chat log on its box, paced. A burst of received lines comes one host
// event at a time, and every change costs the box a redraw: the queued
// entries reach the box as one update at most every 40 ms, the first line
// after a quiet spell at once, and a huge entry goes in over several turns
// of the message loop so the window keeps answering. Nothing waits inside a
// handler: the next update comes as a posted message or a one-shot timer,
// which the window hands back to Flush.
#include <windows.h>

#include <functional>

#include "chat/chat_log.h"
#include "chat/log_box_win.h"

namespace rapporta::chat {

class PacedLog {
 public:
  // box: the log's EDIT control. window gets flushMessage and the WM_TIMER
  // of timerId, and passes both to Flush.
  PacedLog(HWND box, HWND window, UINT flushMessage, UINT_PTR timerId)
      : box_(box), window_(window), flushMessage_(flushMessage), timerId_(timerId) {}
  PacedLog(const PacedLog&) = delete;
  PacedLog& operator=(const PacedLog&) = delete;

  // Queues a formed entry and sees to its update.
  void Add(Text entry);
  // The update that Add asked for: brings the box up to date, within a
  // budget per turn.
  void Flush();
  // Whether entries wait for their update.
  bool Pending() const { return log_.HasPending(); }
  // The log text with every queued entry applied.
  Text Read() { return log_.Read(); }
  void Clear() { log_.Clear(); }
  // Gives the box a new size (see EditLogBox::Refit).
  void Refit(const std::function<void()>& resize) { box_.Refit(resize); }

 private:
  void Schedule();
  void Post();

  EditLogBox box_;
  ChatLog log_{box_};
  HWND window_;
  UINT flushMessage_;
  UINT_PTR timerId_;
  bool flushPosted_ = false;
  bool timerSet_ = false;
  ULONGLONG lastFlush_ = 0;  // GetTickCount64 at the end of the last update
};

}  // namespace rapporta::chat
